// `vantor bin`, `vantor bank` and `vantor update` as a user runs them: on the
// in-process simulated port and over the pseudo-terminal of `vantor sim`.

#include <gtest/gtest.h>
#include <signal.h>

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
using vantor::apptest::RunToolMerged;
using vantor::test::ReadAll;

class BankCliTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return files.File(name); }
  vantor::test::TempDir files;
  const fs::path dir{files.Path()};
};

// One module behind `vantor sim` for every run: a read, the file commands
// on it, a program that keeps what it erases and a restore that puts it back.
TEST_F(BankCliTest, ReadConvertProgramAndRestoreOnOneModule) {
  vantor::apptest::ToolProcess server("sim --no-pace");
  const std::string pty = server.FirstLine();
  ASSERT_EQ(pty.rfind("/dev/", 0), 0u) << pty;
  const auto read = [&](int bank, const std::string& name) {
    const auto run = RunToolMerged("bank read --port " + pty + " --bank " + std::to_string(bank) + " " + File(name));
    EXPECT_EQ(run.status, 0) << run.out;
    return run.out;
  };
  read(3, "original.bin");
  const auto original = ReadAll(File("original.bin"));
  read(1, "b1.bin");
  for (const char* command : {"bin info ", "bin ve ", "bin convert "})
    EXPECT_EQ(RunToolMerged(command + File("b1.bin")).status, 0) << command;

  const auto program = RunToolMerged("bank program --port " + pty + " --bank 3 --no-set-active " + File("b1_new.bin"));
  ASSERT_EQ(program.status, 0) << program.out;
  const fs::path backup = vantor::NewestBackup(dir / "Backups", 3);
  EXPECT_NE(program.out.find("backup: " + backup.string() + "\n"), std::string::npos) << program.out;
  EXPECT_EQ(ReadAll(backup.string()), original);

  const auto restore = RunToolMerged("bank restore --port " + pty + " --bank 3 --backup-dir " + (dir / "Backups").string());
  ASSERT_EQ(restore.status, 0) << restore.out;
  EXPECT_EQ(restore.out.rfind("restoring " + backup.string() + "\n", 0), 0u) << restore.out;
  read(3, "restored.bin");
  EXPECT_EQ(ReadAll(File("restored.bin")), original);
  EXPECT_EQ(vantor::test::Names((dir / "Backups").string()).size(), 1u) << "restore keeps no backup of its own";
  EXPECT_EQ(server.StopWith(SIGTERM), 0) << "sim serves until a signal";
}

// bin diff follows the diff convention: 0 same, 1 different, 2 trouble.
TEST_F(BankCliTest, BinDiffShowsTheChangedCells) {
  CalImage a = vantor::MakeImageFromCalibration(vantor::test::SampleCalibration(9).data());
  a.SetVeCell(19, 9, 128);
  CalImage b = a;
  b.SetVeCell(19, 9, 136);
  for (const auto& [name, image] : {std::pair{"a.bin", &a}, std::pair{"b.bin", &b}})
    vantor::test::WriteAll(File(name), std::vector<std::uint8_t>(image->Data(), image->Data() + 32768));
  std::ofstream(File("short.bin")) << std::string("\0\x07ORV9", 6);

  EXPECT_EQ(RunToolMerged("bin diff " + File("a.bin") + " " + File("a.bin")).status, 0);
  const auto csv = RunToolMerged("bin diff " + File("a.bin") + " " + File("b.bin") + " --csv");
  EXPECT_EQ(csv.status, 1);
  EXPECT_EQ(csv.out, "kind,rpm,kpa,offset,length,a,b,change_percent,region\nve,2400,60,0x0121,1,128,136,6.25,VE block 2\n");
  for (const std::string& second : {" " + File("short.bin"), " " + File("missing.bin"), std::string()})
    EXPECT_EQ(RunToolMerged("bin diff " + File("a.bin") + second).status, 2) << second;
}

// The simulated module inside the tool looks for its bank files in a folder
// of its own only (here holding files it must refuse, so the run ends before
// any bank is read), and runs on the built-in stand-in.
TEST_F(BankCliTest, UpdateOnTheSimulatedPortUsesAFolderOfItsOwn) {
  fs::create_directories(dir / "SimulatedECM");
  for (int bank = 0; bank < 8; ++bank)
    vantor::test::WriteAll((dir / "SimulatedECM" / ("Bank_" + std::to_string(bank) + "_old.bin")).string(),
                           std::vector<std::uint8_t>(32768));
  const auto update = RunToolMerged("update --port SIM --dir " + dir.string());
  EXPECT_EQ(update.status, 1) << update.out;
  EXPECT_NE(update.out.find("Not an ORV Flash BIN\n"), std::string::npos) << update.out;
  EXPECT_FALSE(fs::exists(dir / "Bank_0_old.bin"));
}

}  // namespace
