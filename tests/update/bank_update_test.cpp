#include "update/bank_update.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cal/message_pane.h"
#include "cal/pane_recorder.h"
#include "update/update_world.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;
using test::Packet;

bool IsReadOnly(const std::string& path) {
  return (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Index of the n-th (from 0) packet whose command byte is command and first data byte is first.
std::size_t IndexOf(const std::vector<Packet>& packets, std::uint8_t command, int first, int occurrence = 0) {
  for (std::size_t i = 0; i < packets.size(); ++i)
    if (packets[i][0] == 'S' && packets[i][1] == command && (first < 0 || packets[i][2] == first) &&
        occurrence-- == 0)
      return i;
  return packets.size();
}

TEST(UpdateRun, FullRunSendsEveryPacketInOrderAndUpdatesEveryBank) {
  test::UpdateWorld world(1);
  ASSERT_TRUE(world.rig.Open());
  MessagePane pane(UpdatePaneStyle());
  test::PaneRecorder lines;
  pane.SetLineHook([&](Rgb colour, std::string_view text) { lines.AddLine(colour, text); });
  ASSERT_EQ(RunUpdate(world.rig.link, pane, world.run), 0);
  EXPECT_EQ(world.rig.tap->Packets(), test::FullUpdatePackets(world));
  EXPECT_TRUE(world.AllBanksUpdated());

  const auto texts = lines.Texts();
  ASSERT_GE(texts.size(), 10u);
  EXPECT_EQ(texts[0], "Updating your ORV KDM-9 Flash ECM");
  EXPECT_EQ(texts[1], "Reading Calibrations");
  EXPECT_EQ(texts[2], "Bank #: 0 ");
  EXPECT_EQ(texts[3], "Bank Read Successful");
  EXPECT_TRUE(lines.Contains("Creating New Calibrations"));
  EXPECT_TRUE(lines.Contains("Programming Banks..."));
  EXPECT_TRUE(lines.Contains("Bank Already Updated"));
  EXPECT_FALSE(lines.Contains("Calibration Already Current"));
  EXPECT_EQ(texts[texts.size() - 3], "ORV Flash Update Completed...");
  EXPECT_EQ(texts[texts.size() - 2], "");
  EXPECT_EQ(texts.back(), "    -Update Successful-");
  EXPECT_EQ(lines.Lines().back().background, MakeRgb(103, 245, 103));
  int updated = 0;
  for (const auto& line : lines.Lines())
    if (line.text == "Bank Updated/Verified Successfully") {
      ++updated;
      EXPECT_EQ(line.background, MakeRgb(103, 245, 103));
    }
  EXPECT_EQ(updated, 7);

  for (int bank = 0; bank < kBankCount; ++bank) {
    EXPECT_TRUE(IsReadOnly(OldBankPath(world.dir.Path(), bank))) << bank;
    const auto old = test::ReadAll(OldBankPath(world.dir.Path(), bank));
    ASSERT_EQ(old.size(), kCalImageSize);
    EXPECT_EQ(test::SumBytes(old, 8, kCalImageSize - 1), test::StoredChecksum(old));
    EXPECT_EQ(fs::exists(NewBankPath(world.dir.Path(), bank)), bank != 0);
  }
}

TEST(UpdateRun, SecondRunUsesTheKeptOldFilesAndSkipsUpdatedBanks) {
  test::UpdateWorld world(2);
  ASSERT_TRUE(world.rig.Open());
  test::PaneRecorder first;
  ASSERT_EQ(UpdateAllBanks(world.rig.link, first, world.run), 0);
  const auto kept = test::ReadAll(OldBankPath(world.dir.Path(), 3));
  world.rig.tap->Forget();
  test::PaneRecorder second;
  ASSERT_EQ(UpdateAllBanks(world.rig.link, second, world.run), 0);
  int exists = 0, skipped = 0;
  for (const auto& text : second.Texts()) {
    exists += text == "    -Calibration Exists-";
    skipped += text == "Bank Already Updated";
  }
  EXPECT_EQ(exists, 8);
  EXPECT_EQ(skipped, 8);
  EXPECT_EQ(test::ReadAll(OldBankPath(world.dir.Path(), 3)), kept);
  EXPECT_EQ(world.rig.tap->Packets().size(), 2u + 8 * 2 + 1);  // X, F, Info and request per bank, stop
  EXPECT_TRUE(world.AllBanksUpdated());
}

struct Interruption {
  const char* name;
  std::uint8_t command;
  int first;        // first data byte, -1 any
  int occurrence;
  const char* message;
};

class InterruptedRun : public ::testing::TestWithParam<Interruption> {};

TEST_P(InterruptedRun, RunAgainEndsWithEveryBankUpdated) {
  const Interruption& cut = GetParam();
  test::UpdateWorld world(3);
  ASSERT_TRUE(world.rig.Open());
  const std::size_t at = IndexOf(test::FullUpdatePackets(world), cut.command, cut.first, cut.occurrence);
  world.rig.tap->SetHook(test::RefusePacket(at));
  test::PaneRecorder first;
  EXPECT_EQ(UpdateAllBanks(world.rig.link, first, world.run), -1);
  EXPECT_EQ(world.rig.tap->Packets().size(), at + 1);  // nothing after the failing command
  EXPECT_TRUE(first.Contains(cut.message)) << first.Texts().back();
  for (int bank = 0; bank < kBankCount; ++bank) {
    // No partial old file: each is either complete or absent.
    const std::string old = OldBankPath(world.dir.Path(), bank);
    if (fs::exists(old)) {
      EXPECT_EQ(fs::file_size(old), kCalImageSize);
    }
    EXPECT_FALSE(fs::exists(old + ".part"));
  }

  world.rig.tap->SetHook(nullptr);
  test::PaneRecorder second;
  ASSERT_EQ(UpdateAllBanks(world.rig.link, second, world.run), 0) << second.Texts().back();
  EXPECT_TRUE(world.AllBanksUpdated());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, InterruptedRun,
    ::testing::Values(Interruption{"ReadOfBank3", 1, 3, 0, "TxSlRequestCal Failed"},
                      Interruption{"CheckOfBank1", 1, 1, 1, "TxSlReqstPage Failed"},
                      Interruption{"EraseOfBank2", 2, 2 * 8 + 3, 0, "TxSlEraseSector Failed"},
                      Interruption{"CalibrationPageOfBank2", 7, 30, 1, "TxSlPgmPage Failed"},
                      Interruption{"CalibrationVerifyOfBank4", 1, 4, 2, "TxSlRequestCal Failed"},
                      Interruption{"CodePageOfBank5", 7, 200, 4, "TxSlPgmPage Failed"},
                      Interruption{"CodeVerifyOfBank6", 3, 6, 0, "TxSlRequestBin Failed  "},
                      Interruption{"PageZeroOfBank7", 7, 0, 6, "TxSlPgmPage Failed"},
                      Interruption{"FinalStop", 4, -1, 0, "TxSlStop Failed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateRun, ProgrammingFailureAddsTheFailedBinLine) {
  test::UpdateWorld world(4);
  ASSERT_TRUE(world.rig.Open());
  world.rig.tap->SetHook(test::RefusePacket(IndexOf(test::FullUpdatePackets(world), 7, 5, 1)));
  test::PaneRecorder lines;
  EXPECT_EQ(UpdateAllBanks(world.rig.link, lines, world.run), -1);
  const auto recorded = lines.Lines();
  ASSERT_GE(recorded.size(), 2u);
  EXPECT_EQ(recorded[recorded.size() - 2].text, "TxSlPgmPage Failed");
  EXPECT_EQ(recorded[recorded.size() - 2].background, MakeRgb(255, 255, 0));
  EXPECT_EQ(recorded.back().text, "BIN Programing FAILED!");
  EXPECT_EQ(recorded.back().background, MakeRgb(245, 80, 80));
}

TEST(UpdateRun, CodeVerifyCatchesOneWrongByteAndTheBankIsNotMarkedCurrent) {
  test::UpdateWorld world(5);
  ASSERT_TRUE(world.rig.Open());
  const std::size_t at = IndexOf(test::FullUpdatePackets(world), 7, 100, 1);  // bank 2's page 100
  world.rig.tap->SetHook([at](std::size_t index, Packet& packet) {
    if (index != at) return;
    test::ChangeByteKeepingCheck(packet, 2 + 1 + 5, 0x40);
  });
  test::PaneRecorder lines;
  EXPECT_EQ(UpdateAllBanks(world.rig.link, lines, world.run), -1);
  EXPECT_TRUE(lines.Contains("Verify Failed  "));
  const auto bank = world.rig.ecm.Bank(2);
  EXPECT_EQ(bank[9], 0xFF);  // page 0 was never written
  world.rig.tap->SetHook(nullptr);
  test::PaneRecorder again;
  EXPECT_EQ(UpdateAllBanks(world.rig.link, again, world.run), 0);
  EXPECT_TRUE(world.AllBanksUpdated());
}

TEST(UpdateRun, MissingFirmwareImageSendsNothing) {
  test::UpdateWorld world(6);
  ASSERT_TRUE(world.rig.Open());
  world.run.firmware = nullptr;
  test::PaneRecorder lines;
  EXPECT_EQ(UpdateAllBanks(world.rig.link, lines, world.run), -1);
  EXPECT_TRUE(world.rig.tap->Packets().empty());
}

}  // namespace
}  // namespace vantor
