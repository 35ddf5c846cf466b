#include "cal/bank_jobs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "cal/cal_image.h"
#include "cal/message_pane.h"
#include "support/pane_recorder.h"
#include "support/sim_rig.h"
#include "support/temp_dir.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;
using test::Packet;
using Texts = std::vector<std::string>;

constexpr int kBank = 2;

class BankJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    calibration = test::SampleCalibration(21);
    const CalImage image = MakeImageFromCalibration(calibration.data());
    test::WriteAll(bin, std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize));
    // The bank starts with other contents, so programming must change it.
    const auto old = test::SampleCalibration(22);
    std::copy(old.begin(), old.end(), original.begin());
    rig.ecm.LoadBank(kBank, original);
    ASSERT_TRUE(rig.Open());
  }

  std::vector<Packet> ReadPackets() const {
    return {test::MsPacket('X', 0), test::MsPacket('B', kBank), test::MsPacket('B', kBank), test::MsPacket('F', 0),
            test::InfoPacket(kBank, 25), test::RequestCalPacket(kBank), test::StopPacket()};
  }

  std::vector<Packet> ProgramPackets(bool setActive, bool verify) const {
    std::vector<Packet> packets{test::MsPacket('X', 0)};
    if (setActive) packets.insert(packets.end(), 2, test::MsPacket('B', kBank));
    for (const Packet& p : {test::MsPacket('F', 0), test::InfoPacket(kBank, 25), test::ErasePacket(kBank * 8),
                            test::ErasePacket(kBank * 8 + 1), test::InfoPacket(kBank, 25)})
      packets.push_back(p);
    for (int page = 0; page < 64; ++page) packets.push_back(test::PagePacket(page, calibration.data() + page * 128));
    if (verify) packets.push_back(test::RequestCalPacket(kBank));
    packets.push_back(test::StopPacket());
    return packets;
  }

  // The pane's last `count` texts.
  Texts LastTexts(std::size_t count) const {
    const Texts texts = pane.Texts();
    return Texts(texts.end() - static_cast<std::ptrdiff_t>(std::min(count, texts.size())), texts.end());
  }
  void ExpectBalancedRead(const std::string& path, std::size_t size) const {
    const auto file = test::ReadAll(path);
    ASSERT_EQ(file.size(), size);
    EXPECT_EQ(test::SumBytes(file, 8, size - 1), test::StoredChecksum(file));
    if (size == kCalImageSize) {
      EXPECT_TRUE(std::equal(original.begin(), original.begin() + 8192, file.begin()));
      EXPECT_TRUE(std::equal(TailTemplate().begin() + 0x200, TailTemplate().end(), file.begin() + 0x7F00));
    }
  }

  test::TempDir dir;
  test::SimRig rig{MainProgramProfile()};
  test::PaneRecorder pane;
  std::vector<std::uint8_t> calibration, original = std::vector<std::uint8_t>(kCalImageSize, 0x3C);
  std::string bin = dir.File("program.bin");
};

// The dialogue with the bank set and the verify is checked through the backup.
TEST_F(BankJobTest, ProgramWithoutSetOrVerifySendsTheShortDialogueAndReportsSuccess) {
  ASSERT_EQ(ProgramBank(rig.link, pane, {kBank, false, false}, bin), 0);
  EXPECT_EQ(rig.tap->Packets(), ProgramPackets(false, false));
  EXPECT_EQ(pane.Texts(), (Texts{"Bank Flash Program Starting", "Bank Programmed Successfully", "",
                                 "    -Flashing Successful-"}));
}

TEST_F(BankJobTest, EachFailedStepReportsItsCommandAndSendsNothingMore) {
  // A page with one byte changed and a matching check value: the module
  // programs it and acknowledges, as a faulty part might; only the verify sees it.
  const auto wrongByte = [](std::size_t index, Packet& packet) {
    if (index == 8 + 37) test::ChangeByteKeepingCheck(packet, 2 + 1 + 100, 0x01);
  };
  // Packets: X, B, B, F, Info, Erase, Erase, Info, pages 8..71, RequestCal 72, Stop 73.
  const struct {
    test::WireTap::Hook hook;
    std::size_t sent;
    const char* message;
  } cases[] = {{test::RefusePacket(4), 5, "TxSlInfo Failed"},
               {test::RefusePacket(73), 74, "TxSlStop Failed"},
               {wrongByte, 73, "Verify Failed"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    pane.Clear();
    rig.tap->Forget();
    rig.tap->SetHook(c.hook);
    EXPECT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, bin), -1);
    EXPECT_EQ(LastTexts(3), (Texts{c.message, "", "     -Flashing Failed-"}));
    EXPECT_EQ(rig.tap->Packets().size(), c.sent);
  }
}

TEST_F(BankJobTest, ReceiverFailuresReachTheJobsPaneBeforeTheStepsMessage) {
  rig.tap->SetHook([this](std::size_t index, Packet&) {
    if (index != 4) return;
    sim::SimFaults faults;
    faults.corruptByteOfNextOutput = 15;  // the info reply's last check byte
    rig.ecm.SetFaults(faults);
  });
  EXPECT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, bin), -1);
  EXPECT_EQ(LastTexts(4), (Texts{"RX Cksum Failure", "TxSlInfo Failed", "", "     -Flashing Failed-"}));
  EXPECT_EQ(rig.link.Messages(), nullptr);  // the link's own sink is back
}

TEST_F(BankJobTest, BadProgramFilesAndAnOfflineLinkAreRefusedBeforeAnythingIsSent) {
  auto bytes = test::ReadAll(bin);
  test::WriteAll(dir.File("short.bin"), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 8191));
  bytes[3] = 'X';
  test::WriteAll(dir.File("unsigned.bin"), bytes);
  const std::pair<const char*, const char*> cases[] = {{"short.bin", kProgramFileTooShort},
      {"unsigned.bin", "Not an ORV KDM-9 Flash BIN!"}, {"missing.bin", "Failed opening BIN File"}};
  for (const auto& [name, message] : cases) {
    SCOPED_TRACE(name);
    pane.Clear();
    EXPECT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, dir.File(name)), -1);
    EXPECT_EQ(pane.Texts(), (Texts{message, "", "     -Flashing Failed-"}));
  }
  EXPECT_TRUE(rig.tap->Packets().empty());
  EcmLink offline(MainProgramProfile());
  pane.Clear();
  EXPECT_EQ(ProgramBank(offline, pane, {0, true, true}, bin), -1);
  EXPECT_EQ(pane.Texts(), (Texts{"Bank Flash Program Starting", "TxMsXmit Failed", "", "     -Flashing Failed-"}));
}

// A failed read never destroys an earlier file; without one it leaves a balanced stump.
TEST_F(BankJobTest, ReadWritesABalancedBinThatAFailedReadKeeps) {
  const std::string out = dir.File("read.bin");
  ASSERT_EQ(ReadBank(rig.link, pane, {kBank, true, false}, out), 0);
  EXPECT_EQ(rig.tap->Packets(), ReadPackets());
  EXPECT_EQ(pane.Texts(),
            (Texts{"Bank Read Starting", "Flash Bank Set", "Bank Read Successful", "", "    -Read Successful-"}));
  ExpectBalancedRead(out, kCalImageSize);

  const auto before = test::ReadAll(out);
  rig.tap->Forget();
  rig.tap->SetHook(test::RefusePacket(5));
  EXPECT_EQ(ReadBank(rig.link, pane, {kBank, true, false}, out), -1);
  EXPECT_EQ(rig.tap->Packets().size(), 6u);  // no stop after the failure
  EXPECT_EQ(LastTexts(4), (Texts{"TxSlRequestCal Failed", kOldBinKept, "", "     -Read Failed-"}));
  EXPECT_EQ(test::ReadAll(out), before);
  EXPECT_EQ(test::Names(dir.Path()), (std::set<std::string>{"program.bin", "read.bin"}));
  rig.tap->Forget();
  EXPECT_EQ(ReadBank(rig.link, pane, {kBank, true, false}, dir.File("stump.bin")), -1);
  ExpectBalancedRead(dir.File("stump.bin"), kFillerSize + kTailSize);
  // A failed stop after a whole read keeps the data, reported with two blanks.
  rig.tap->Forget();
  rig.tap->SetHook(test::RefusePacket(6));
  EXPECT_EQ(ReadBank(rig.link, pane, {kBank, true, false}, dir.File("stopped.bin")), -1);
  EXPECT_EQ(LastTexts(4), (Texts{"Bank Read Successful", "TxSlStop Failed  ", "", "     -Read Failed-"}));
  ExpectBalancedRead(dir.File("stopped.bin"), kCalImageSize);
}

TEST_F(BankJobTest, FlashJobReportsElapsedTimeOrAsksForAMissingFileName) {
  MessagePane shown(FlashPaneStyle());
  using Box = std::pair<std::string, std::string>;
  std::vector<Box> boxes;
  auto box = [&](const std::string& text, const std::string& caption) { boxes.emplace_back(text, caption); };
  FlashJob job;
  job.action = kFlashProgram;
  EXPECT_EQ(RunFlashJob(rig.link, shown, job, box), -1);
  job.action = kFlashRead;
  job.readFile = dir.File("x.bin");
  EXPECT_EQ(RunFlashJob(rig.link, shown, job, box), -1);
  EXPECT_EQ(boxes, (std::vector<Box>{{"Need a Program Bank BIN Name", "File Error"},
                                     {"Need a Read Bank BIN Name", "File Error"}}));
  EXPECT_TRUE(rig.tap->Packets().empty());
  EXPECT_EQ(ElapsedText(123), "12.3 Second(s)");
}

// The backup is a bank read, byte for byte, kept read-only before the erase;
// the pane names it where it still shows at the end.
TEST_F(BankJobTest, ProgramFirstReadsTheBankIntoABackup) {
  std::string kept;
  BankBackup backup;
  backup.keptPath = &kept;
  ASSERT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, bin, backup), 0);
  std::vector<Packet> packets = ReadPackets();
  for (const Packet& p : ProgramPackets(true, true)) packets.push_back(p);
  EXPECT_EQ(rig.tap->Packets(), packets);
  const fs::path backups = fs::path(dir.Path()) / "Backups";
  ExpectBalancedRead(kept, kCalImageSize);
  EXPECT_EQ(fs::status(kept).permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_EQ(LastTexts(3), (Texts{kBackupKept + fs::path(kept).filename().string(), "", "    -Flashing Successful-"}));
  // A second backup within the same second takes a name of its own.
  ASSERT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, bin, backup), 0);
  EXPECT_EQ(test::Names(backups.string()).size(), 2u);
  EXPECT_EQ(NewestBackup(backups, kBank), fs::path(kept));
}

// Whatever fails in the backup, nothing is erased and no backup is left.
TEST_F(BankJobTest, AFailedBackupStopsTheJobBeforeAnyErase) {
  const struct {
    std::size_t refused;  // packet refused by the module; 0: the folder cannot be made
    const char* step;
  } cases[] = {{0, "Failed opening Backup File"}, {5, "TxSlRequestCal Failed"}, {6, "TxSlStop Failed  "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.step);
    test::TempDir place;
    BankBackup backup;
    backup.directory = place.File("Backups");
    if (c.refused == 0) test::WriteText(backup.directory, "a file, not a folder");
    pane.Clear();
    rig.tap->Forget();
    rig.tap->SetHook(c.refused ? test::RefusePacket(c.refused) : nullptr);
    EXPECT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, bin, backup), -1);
    EXPECT_EQ(LastTexts(4), (Texts{c.step, kBackupFailed, "", "     -Flashing Failed-"}));
    EXPECT_EQ(rig.tap->Packets().size(), c.refused ? c.refused + 1 : 0u);
    EXPECT_EQ(test::Names(place.Path()), (std::set<std::string>{"Backups"}));
    EXPECT_TRUE(c.refused == 0 || fs::is_empty(backup.directory));
  }
  EXPECT_EQ(rig.ecm.Bank(kBank), original);
}

TEST(BankBackups, TheNewestByTheTimeAndNumberInTheName) {
  test::TempDir dir;
  for (const char* name : {"Bank_2_20240101_120000.bin", "Bank_2_20240101_120000_2.bin",
                           "Bank_2_20240101_120000_10.bin", "Bank_2_20231231_235959_99.bin",
                           "Bank_3_20250101_000000.bin", "Bank_2_2024010_1200000.bin", "Bank_2_20240101_120000_1.bin",
                           "Bank_2_20240101_120000.bin.part", "Bank_2_20260101_120000.txt"})
    test::WriteText(dir.File(name), "x");
  EXPECT_EQ(NewestBackup(dir.Path(), 2).filename(), "Bank_2_20240101_120000_10.bin");
  EXPECT_EQ(NewestBackup(dir.Path(), 3).filename(), "Bank_3_20250101_000000.bin");
  EXPECT_TRUE(NewestBackup(dir.Path(), 4).empty());
  EXPECT_TRUE(NewestBackup(dir.File("none"), 2).empty());
  EXPECT_EQ(BackupDirectory(BankBackup{}, "/cal/run.bin"), fs::path("/cal/Backups"));
}

TEST_F(BankJobTest, OnlyAWholeBalancedBackupMayBeRestored) {
  const auto whole = test::ReadAll(bin);
  const struct {
    const char* name;
    void (*spoil)(std::vector<std::uint8_t>&);
    const char* defect;
  } cases[] = {{"whole", [](std::vector<std::uint8_t>&) {}, ""},
               {"short", [](std::vector<std::uint8_t>& b) { b.pop_back(); }, "is not 32768 bytes long"},
               {"long", [](std::vector<std::uint8_t>& b) { b.push_back(0); }, "is not 32768 bytes long"},
               {"unsigned", [](std::vector<std::uint8_t>& b) { b[2] = 'Q'; }, "has no ORV9 signature"},
               {"changed", [](std::vector<std::uint8_t>& b) { b[100] ^= 1; }, "does not sum to its checksum"}};
  for (const auto& c : cases) {
    auto bytes = whole;
    c.spoil(bytes);
    test::WriteAll(dir.File(c.name), bytes);
    EXPECT_EQ(BackupDefect(dir.File(c.name)), c.defect) << c.name;
  }
  EXPECT_EQ(BackupDefect(dir.File("missing")), "can not be opened");
}

}  // namespace
}  // namespace vantor
