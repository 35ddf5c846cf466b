// `vantor bin`, `vantor bank` and `vantor update` as a user runs them: on the
// in-process simulated port and over the pseudo-terminal of `vantor sim`.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/tool_process.h"
#include "cal/bank_backup.h"
#include "cal/cal_image.h"
#include "support/temp_dir.h"
#include "sim/default_calibration.h"

namespace {

namespace fs = std::filesystem;

using vantor::CalImage;
using vantor::MakeImageFromCalibration;
using vantor::apptest::RunToolMerged;

class BankCliTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return files.File(name); }
  vantor::test::TempDir files;
  const fs::path dir{files.Path()};
};

TEST_F(BankCliTest, ReadInfoConvertAndProgramOnTheSimulatedPort) {
  const auto read = RunToolMerged("bank read --port SIM --bank 1 " + File("b1.bin"));
  ASSERT_EQ(read.status, 0) << read.out;
  EXPECT_NE(read.out.find("Bank Read Starting\nFlash Bank Set\nBank Read Successful\n\n    -Read Successful-\n\n"),
            std::string::npos)
      << read.out;
  EXPECT_NE(read.out.find(" Second(s)\n"), std::string::npos);
  EXPECT_EQ(fs::file_size(File("b1.bin")), 32768u);

  const auto info = RunToolMerged("bin info " + File("b1.bin"));
  ASSERT_EQ(info.status, 0) << info.out;
  EXPECT_NE(info.out.find("signature:          ORV9"), std::string::npos);
  EXPECT_NE(info.out.find("file size:          32768"), std::string::npos);

  const auto ve = RunToolMerged("bin ve " + File("b1.bin") + " --raw");
  ASSERT_EQ(ve.status, 0);
  EXPECT_EQ(ve.out.rfind("  RPM   20   25   30", 0), 0u) << ve.out;
  EXPECT_NE(ve.out.find("\n 8000 "), std::string::npos);

  const auto convert = RunToolMerged("bin convert " + File("b1.bin"));
  EXPECT_EQ(convert.status, 0) << convert.out;
  const auto again = RunToolMerged("bin convert " + File("b1_new.bin") + " " + File("b1_x.bin"));
  EXPECT_EQ(again.out, "Calibration Already Current\n");
  EXPECT_FALSE(fs::exists(File("b1_x.bin")));

  const auto program = RunToolMerged("bank program --port SIM --bank 2 --no-set-active " + File("b1_new.bin"));
  ASSERT_EQ(program.status, 0) << program.out;
  EXPECT_EQ(program.out.find("Flash Bank Set"), std::string::npos);
  EXPECT_NE(program.out.find("Bank Verify Starting\nBank Programmed Successfully\nBackup: Bank_2_"), std::string::npos);
  EXPECT_NE(program.out.find(".bin\n\n    -Flashing Successful-\n"), std::string::npos) << program.out;
}

// bin diff follows the diff convention: 0 same, 1 different, 2 trouble.
TEST_F(BankCliTest, BinDiffShowsTheChangedCellsAndBytes) {
  CalImage a = MakeImageFromCalibration(vantor::test::SampleCalibration(9).data());
  a.SetVeCell(19, 9, 128);
  CalImage b = a;
  b.SetVeCell(19, 9, 136);
  b[0x1000] ^= 0xFF;
  for (const auto& [name, image] : {std::pair{"a.bin", &a}, std::pair{"b.bin", &b}})
    vantor::test::WriteAll(File(name), std::vector<std::uint8_t>(image->Data(), image->Data() + 32768));
  std::ofstream(File("short.bin")) << std::string("\0\x07ORV9", 6);

  const auto same = RunToolMerged("bin diff " + File("a.bin") + " " + File("a.bin"));
  EXPECT_EQ(same.status, 0);
  EXPECT_NE(same.out.find("\nThe files are the same.\n"), std::string::npos) << same.out;
  const auto text = RunToolMerged("bin diff " + File("a.bin") + " " + File("b.bin"));
  EXPECT_EQ(text.status, 1);
  EXPECT_NE(text.out.find("VE table: 1 cells differ"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("\n 2400       .       .       .       .       .       .       .       . 128>136 "),
            std::string::npos) << text.out;
  EXPECT_NE(text.out.find("  +6.2%"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Other bytes: 1 ranges differ\n  0x1000-0x1000     1 bytes  calibration"), std::string::npos)
      << text.out;
  const auto csv = RunToolMerged("bin diff " + File("a.bin") + " " + File("b.bin") + " --csv");
  EXPECT_EQ(csv.status, 1);
  char bytes[64];
  std::snprintf(bytes, sizeof bytes, "bytes,,,0x1000,1,%02X,%02X,,calibration\n", a[0x1000], b[0x1000]);
  EXPECT_EQ(csv.out, "kind,rpm,kpa,offset,length,a,b,change_percent,region\nve,2400,60,0x0121,1,128,136,6.25,VE block 2\n" +
                         std::string(bytes));
  EXPECT_EQ(RunToolMerged("bin diff " + File("a.bin") + " " + File("short.bin")).status, 2);
  EXPECT_EQ(RunToolMerged("bin diff " + File("a.bin") + " " + File("missing.bin")).status, 2);
  EXPECT_EQ(RunToolMerged("bin diff " + File("a.bin")).status, 2);
}

// Refusals go to stderr, name the file or option concerned, and say it once;
// the pane lines of a failed job too, while its progress stays on stdout.
TEST_F(BankCliTest, RefusalsGoToStderrNamingWhatIsWrong) {
  std::ofstream(File("text.bin")) << "not a calibration at all";
  std::ofstream(File("short.bin")) << std::string("\0\x07ORV9", 6) << std::string(94, '\xFF');
  std::ofstream(File("Bank_6_20990101_000000.bin")) << "a spoiled backup";
  const struct {
    const char* command;
    int status;
    const char* err;  // all of stderr
    const char* out;  // all of stdout
  } cases[] = {
      {"bin info {dir}/text.bin", 1, "vantor bin: {dir}/text.bin: Not an ORV KDM-9 Flash BIN!\n", ""},
      {"bin info {dir}/short.bin", 1, "vantor bin: {dir}/short.bin: BIN File Too Short: Need 32768 Bytes\n", ""},
      {"bin ve {dir}/short.bin", 1, "vantor bin: {dir}/short.bin: BIN File Too Short: Need 32768 Bytes\n", ""},
      {"bank program --port SIM --bank 0 {dir}/short.bin", 1,
       "BIN File Too Short: Need 8192 Bytes\n     -Flashing Failed-\n", "\n"},
      {"bank read --port {dir}/no-such-port --bank 0 {dir}/x.bin", 1,
       "vantor: can not open port {dir}/no-such-port\n", ""},
      {"bank program --port SIM --bank 9 x.bin", 2, "vantor bank: --bank: '9' is not a number from 0 to 7\n", ""},
      {"sim --bank-file 9 {dir}/short.bin", 2, "vantor sim: --bank-file: '9' is not a number from 0 to 7\n", ""},
      {"bank restore --port SIM --bank 5 --backup-dir {dir}", 1, "vantor bank: no backup of bank 5 in {dir}\n", ""},
      {"bank restore --port SIM --bank 6 --backup-dir {dir}", 1,
       "vantor bank: the backup {dir}/Bank_6_20990101_000000.bin is not 32768 bytes long: nothing programmed\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const auto run = vantor::apptest::RunTool(vantor::apptest::InDir(c.command, dir.string()));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, vantor::apptest::InDir(c.err, dir.string()));
    EXPECT_EQ(run.out, c.out);
  }
  EXPECT_FALSE(fs::exists(File("x.bin")));
  EXPECT_EQ(RunToolMerged("update --port SIM --firmware " + File("text.bin") + " --dir " + dir.string()).status, 1);
  EXPECT_EQ(RunToolMerged("bin frobnicate x").status, 2);
  for (const char* misfit : {"read --port SIM --bank 0 --no-backup x.bin", "restore --port SIM --bank 0 --no-verify",
                             "program --port SIM --bank 0 --no-backup --backup-dir d x.bin"})
    EXPECT_EQ(RunToolMerged(std::string("bank ") + misfit).status, 2) << misfit;
}

// What a program erases is kept first, and restore puts the newest back.
TEST_F(BankCliTest, ProgramKeepsABackupThatRestorePutsBack) {
  vantor::apptest::ToolProcess server({"sim", "--no-pace"});
  const std::string pty = server.FirstLine();
  ASSERT_EQ(pty.rfind("/dev/", 0), 0u) << pty;
  const auto read = [&](int bank, const std::string& name) {
    EXPECT_EQ(RunToolMerged("bank read --port " + pty + " --bank " + std::to_string(bank) + " " + File(name)).status, 0);
    return vantor::test::ReadAll(File(name));
  };
  const auto original = read(3, "original.bin");
  read(1, "other.bin");
  const auto program = RunToolMerged("bank program --port " + pty + " --bank 3 " + File("other.bin"));
  ASSERT_EQ(program.status, 0) << program.out;
  EXPECT_NE(program.out.find("Bank Backup Starting\nBank Flash Program Starting\n"), std::string::npos) << program.out;
  const fs::path backup = vantor::NewestBackup(dir / "Backups", 3);
  ASSERT_FALSE(backup.empty());
  EXPECT_NE(program.out.find("Backup: " + backup.filename().string() + "\n"), std::string::npos) << program.out;
  EXPECT_NE(program.out.find("backup: " + backup.string() + "\n"), std::string::npos) << program.out;
  EXPECT_EQ(vantor::test::ReadAll(backup.string()), original);
  EXPECT_NE(read(3, "programmed.bin"), original);

  const auto restore = RunToolMerged("bank restore --port " + pty + " --bank 3 --backup-dir " + (dir / "Backups").string());
  ASSERT_EQ(restore.status, 0) << restore.out;
  EXPECT_EQ(restore.out.rfind("restoring " + backup.string() + "\n", 0), 0u) << restore.out;
  EXPECT_EQ(read(3, "restored.bin"), original);
  EXPECT_EQ(vantor::test::Names((dir / "Backups").string()).size(), 1u) << "restore keeps no backup of its own";
}

std::string OldBankFile(const fs::path& dir, int bank) {
  return (dir / ("Bank_" + std::to_string(bank) + "_old.bin")).string();
}

// Leaves Bank_N_old.bin in dir as a run on the module `vantor sim` starts with would.
void SaveShippedBanks(const fs::path& dir) {
  for (int bank = 0; bank < 8; ++bank)
    vantor::test::WriteAll(OldBankFile(dir, bank), vantor::sim::DefaultBankImage(bank));
}

// `vantor update` over the unpaced pseudo-terminal of `vantor sim`, a module
// behind a real port, with an image that is not the stand-in.
class UpdateCliTest : public BankCliTest {
 protected:
  UpdateCliTest() {
    std::vector<std::uint8_t> code(24576);
    for (std::size_t i = 0; i < code.size(); ++i) code[i] = static_cast<std::uint8_t>(i * 7 + 3);
    vantor::test::WriteAll(File("code.bin"), code);
  }
  vantor::apptest::ToolRun Update(const std::string& port, const std::string& firmware) const {
    return RunToolMerged("update --port " + port + " --firmware " + firmware + " --dir " + dir.string());
  }
  std::vector<std::uint8_t> ReadBank(const std::string& port, int bank) const {
    const std::string out = File("read_back.bin");
    fs::remove(out);
    EXPECT_EQ(RunToolMerged("bank read --port " + port + " --bank " + std::to_string(bank) + " " + out).status, 0);
    return vantor::test::ReadAll(out);
  }
};

// What the run must not trust; each stops it before anything is erased.
struct UpdateRefusal {
  const char* name;
  void (*stage)(const fs::path& dir);  // what lies in the bank folder
  bool standIn;                        // the stand-in image instead of code.bin
  const char* output;
  friend void PrintTo(const UpdateRefusal& c, std::ostream* out) { *out << c.name; }
};

class UpdateCliRefusal : public UpdateCliTest, public ::testing::WithParamInterface<UpdateRefusal> {};

TEST_P(UpdateCliRefusal, StopsBeforeAnyErase) {
  // Bank 0 holds another calibration than the module `vantor sim` ships.
  const CalImage other = MakeImageFromCalibration(vantor::test::SampleCalibration(77).data());
  vantor::test::WriteAll(File("other.bin"), std::vector<std::uint8_t>(other.Data(), other.Data() + 32768));
  vantor::apptest::ToolProcess server({"sim", "--no-pace", "--bank-file", "0", File("other.bin")});
  const std::string pty = server.FirstLine();
  ASSERT_EQ(pty.rfind("/dev/", 0), 0u) << pty;
  GetParam().stage(dir);
  const auto update = Update(pty, GetParam().standIn ? VANTOR_DATA_DIR "/firmware_stand_in.bin" : File("code.bin"));
  EXPECT_EQ(update.status, 1) << update.out;
  EXPECT_NE(update.out.find(GetParam().output), std::string::npos) << update.out;
  EXPECT_EQ(update.out.find("Bank Updated/Verified Successfully"), std::string::npos) << update.out;
  const auto bank0 = ReadBank(pty, 0);
  ASSERT_EQ(bank0.size(), 32768u);
  EXPECT_TRUE(std::equal(bank0.begin(), bank0.begin() + 8192, other.Data()));
}

INSTANTIATE_TEST_SUITE_P(
    Staged, UpdateCliRefusal,
    ::testing::Values(
        UpdateRefusal{"SavedFilesFromAnotherModule", SaveShippedBanks, false,
                      "Saved BIN Not From This ECM\nBIN Programing FAILED!\n"},
        UpdateRefusal{"StandInImage", [](const fs::path&) {}, true,
                      "Stand-In Firmware Image Refused: Not For A Real ECM"}),
    [](const auto& info) { return std::string(info.param.name); });

// The simulated module inside the tool looks for its bank files in a folder
// of its own only (here holding files it must refuse, so the run ends before
// any bank is read), and runs on the built-in stand-in.
TEST_F(BankCliTest, UpdateOnTheSimulatedPortUsesAFolderOfItsOwn) {
  fs::create_directories(dir / "SimulatedECM");
  for (int bank = 0; bank < 8; ++bank)
    vantor::test::WriteAll(OldBankFile(dir / "SimulatedECM", bank), std::vector<std::uint8_t>(32768));
  const auto update = RunToolMerged("update --port SIM --dir " + dir.string());
  EXPECT_EQ(update.status, 1) << update.out;
  std::size_t kept = 0;
  for (std::size_t at = 0; (at = update.out.find("    -Calibration Exists-\n", at)) != std::string::npos; ++at) ++kept;
  EXPECT_EQ(kept, 8u) << update.out;
  // Progress on stdout, the failed step on stderr (after it here).
  EXPECT_NE(update.out.find("Creating New Calibrations\nBank #: 0 \n"), std::string::npos) << update.out;
  EXPECT_NE(update.out.find("Not an ORV Flash BIN\n"), std::string::npos) << update.out;
  EXPECT_FALSE(fs::exists(OldBankFile(dir, 0)));
}

}  // namespace
