#include "cal/bank_jobs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "cal/cal_image.h"
#include "cal/message_pane.h"
#include "cal/pane_recorder.h"
#include "cal/sim_rig.h"
#include "cal/temp_dir.h"

namespace vantor {
namespace {

using test::Packet;

constexpr int kBank = 2;

class BankJobTest : public ::testing::Test {
 protected:
  void SetUp() override {
    calibration = test::SampleCalibration(21);
    image = MakeImageFromCalibration(calibration.data());
    bin = dir.File("program.bin");
    test::WriteAll(bin, std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize));
    // The bank starts with other contents, so programming must change it.
    const auto old = test::SampleCalibration(22);
    original = std::vector<std::uint8_t>(kCalImageSize, 0x3C);
    std::copy(old.begin(), old.end(), original.begin());
    rig.ecm.LoadBank(kBank, original);
    ASSERT_TRUE(rig.Open());
  }

  std::vector<Packet> ProgramPackets(bool setActive, bool verify) const {
    std::vector<Packet> packets{test::MsPacket('X', 0)};
    if (setActive) {
      packets.push_back(test::MsPacket('B', kBank));
      packets.push_back(test::MsPacket('B', kBank));
    }
    packets.push_back(test::MsPacket('F', 0));
    packets.push_back(test::InfoPacket(kBank, 25));
    packets.push_back(test::ErasePacket(kBank * 8));
    packets.push_back(test::ErasePacket(kBank * 8 + 1));
    packets.push_back(test::InfoPacket(kBank, 25));
    for (int page = 0; page < 64; ++page) packets.push_back(test::PagePacket(page, calibration.data() + page * 128));
    if (verify) packets.push_back(test::RequestCalPacket(kBank));
    packets.push_back(test::StopPacket());
    return packets;
  }

  std::vector<Packet> ReadPackets() const {
    return {test::MsPacket('X', 0), test::MsPacket('B', kBank), test::MsPacket('B', kBank),
            test::MsPacket('F', 0), test::InfoPacket(kBank, 25), test::RequestCalPacket(kBank),
            test::StopPacket()};
  }

  std::vector<std::uint8_t> BankNow() const { return rig.ecm.Bank(kBank); }

  test::TempDir dir;
  test::SimRig rig{MainProgramProfile()};
  test::PaneRecorder pane;
  std::vector<std::uint8_t> calibration;
  std::vector<std::uint8_t> original;
  CalImage image;
  std::string bin;
};

TEST_F(BankJobTest, ProgramWithVerifySendsTheWholeDialogueAndReportsSuccess) {
  ASSERT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, bin), 0);
  EXPECT_EQ(rig.tap->Packets(), ProgramPackets(true, true));
  EXPECT_EQ(pane.Texts(), (std::vector<std::string>{"Bank Flash Program Starting", "Flash Bank Set",
                                                    "Bank Verify Starting", "Bank Programmed Successfully", "",
                                                    "    -Flashing Successful-"}));
  EXPECT_EQ(pane.Lines().back().background, MakeRgb(33, 165, 33));
  EXPECT_EQ(pane.Lines().front().background, MakeRgb(20, 20, 20));
  const auto bank = BankNow();
  EXPECT_TRUE(std::equal(calibration.begin(), calibration.end(), bank.begin()));
  EXPECT_TRUE(std::equal(original.begin() + 8192, original.end(), bank.begin() + 8192));
  EXPECT_EQ(rig.ecm.RunningBank(), kBank);
}

TEST_F(BankJobTest, WithoutBankSetAndVerifyNeitherIsSentNorShown) {
  ASSERT_EQ(ProgramBank(rig.link, pane, {kBank, false, false}, bin), 0);
  EXPECT_EQ(rig.tap->Packets(), ProgramPackets(false, false));
  EXPECT_EQ(pane.Texts(), (std::vector<std::string>{"Bank Flash Program Starting", "Bank Programmed Successfully",
                                                    "", "    -Flashing Successful-"}));
}

TEST_F(BankJobTest, EachRefusedStepReportsItsCommandAndSendsNothingMore) {
  struct Case {
    std::size_t packet;
    const char* message;
  };
  // Packets: X, B, B, F, Info, Erase, Erase, Info, pages 8..71, RequestCal 72, Stop 73.
  const Case cases[] = {{4, "TxSlInfo Failed"},        {5, "TxSlEraseSector Failed"}, {6, "TxSlEraseSector Failed"},
                        {7, "TxSlInfo Failed"},        {8, "TxSlPgmPage Failed"},     {40, "TxSlPgmPage Failed"},
                        {72, "TxSlRequestBin Failed"}, {73, "TxSlStop Failed"}};
  for (const Case& c : cases) {
    test::PaneRecorder lines;
    rig.tap->Forget();
    rig.tap->SetHook(test::RefusePacket(c.packet));
    EXPECT_EQ(ProgramBank(rig.link, lines, {kBank, true, true}, bin), -1) << c.packet;
    const auto recorded = lines.Lines();
    ASSERT_GE(recorded.size(), 3u);
    EXPECT_EQ(recorded[recorded.size() - 3].text, c.message);
    EXPECT_EQ(recorded[recorded.size() - 3].background, MakeRgb(150, 106, 3));
    EXPECT_EQ(recorded[recorded.size() - 2].text, "");
    EXPECT_EQ(recorded.back().text, "     -Flashing Failed-");
    EXPECT_EQ(recorded.back().background, MakeRgb(225, 60, 60));
    EXPECT_EQ(rig.tap->Packets().size(), c.packet + 1) << c.message;
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
  const auto lines = pane.Lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[lines.size() - 4].text, "RX Cksum Failure");
  EXPECT_EQ(lines[lines.size() - 4].background, MakeRgb(150, 106, 3));
  EXPECT_EQ(lines[lines.size() - 3].text, "TxSlInfo Failed");
  EXPECT_EQ(rig.link.Messages(), nullptr);  // the link's own sink is back
}

TEST_F(BankJobTest, VerifyCatchesOneWrongByteTheModuleAccepted) {
  // The module is handed a page with one byte changed and a matching check
  // value: it programs it and acknowledges, as a faulty part might.
  rig.tap->SetHook([](std::size_t index, Packet& packet) {
    if (index != 8 + 37) return;
    test::ChangeByteKeepingCheck(packet, 2 + 1 + 100, 0x01);
  });
  EXPECT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, bin), -1);
  const auto texts = pane.Texts();
  EXPECT_EQ(texts[texts.size() - 3], "Verify Failed");
  EXPECT_EQ(texts.back(), "     -Flashing Failed-");
  EXPECT_FALSE(pane.Contains("Bank Programmed Successfully"));
  EXPECT_EQ(rig.tap->Packets().size(), ProgramPackets(true, true).size() - 1);  // no stop
}

TEST_F(BankJobTest, ShortProgramFileIsRefusedBeforeAnythingIsSent) {
  auto bytes = test::ReadAll(bin);
  bytes.resize(8191);
  test::WriteAll(bin, bytes);
  EXPECT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, bin), -1);
  EXPECT_TRUE(rig.tap->Packets().empty());
  EXPECT_EQ(pane.Texts(), (std::vector<std::string>{kProgramFileTooShort, "", "     -Flashing Failed-"}));
  EXPECT_EQ(BankNow(), original);
}

TEST_F(BankJobTest, MissingProgramFileSendsNothing) {
  EXPECT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, dir.File("none.bin")), -1);
  EXPECT_TRUE(rig.tap->Packets().empty());
  EXPECT_EQ(pane.Texts().front(), "Failed opening BIN File");
}

TEST_F(BankJobTest, ReadWritesTheBankIntoABalancedBin) {
  const std::string out = dir.File("read.bin");
  ASSERT_EQ(ReadBank(rig.link, pane, {kBank, true, false}, out), 0);
  EXPECT_EQ(rig.tap->Packets(), ReadPackets());
  EXPECT_EQ(pane.Texts(), (std::vector<std::string>{"Bank Read Starting", "Flash Bank Set", "Bank Read Successful",
                                                    "", "    -Read Successful-"}));
  const auto file = test::ReadAll(out);
  ASSERT_EQ(file.size(), kCalImageSize);
  EXPECT_TRUE(std::equal(original.begin(), original.begin() + 8192, file.begin()));
  EXPECT_EQ(test::SumBytes(file, 8, kCalImageSize - 1), test::StoredChecksum(file));
  EXPECT_TRUE(std::equal(TailTemplate().begin() + 0x200, TailTemplate().end(), file.begin() + 0x7F00));
}

TEST_F(BankJobTest, ReadWhoseRequestFailsStillLeavesABalancedFile) {
  rig.tap->SetHook(test::RefusePacket(5));
  const std::string out = dir.File("read.bin");
  EXPECT_EQ(ReadBank(rig.link, pane, {kBank, true, false}, out), -1);
  EXPECT_EQ(rig.tap->Packets().size(), 6u);  // no stop after the failure
  const auto texts = pane.Texts();
  EXPECT_EQ(texts[texts.size() - 3], "TxSlRequestCal Failed");
  EXPECT_EQ(texts.back(), "     -Read Failed-");
  const auto file = test::ReadAll(out);
  ASSERT_EQ(file.size(), kFillerSize + kTailSize);
  EXPECT_EQ(test::SumBytes(file, 8, file.size() - 1), test::StoredChecksum(file));
}

TEST_F(BankJobTest, FailedReadOfAnExistingFileKeepsThatFile) {
  const std::string out = dir.File("kept.bin");
  const auto before = test::ReadAll(bin);
  test::WriteAll(out, before);
  rig.tap->SetHook(test::RefusePacket(5));
  EXPECT_EQ(ReadBank(rig.link, pane, {kBank, true, false}, out), -1);
  const auto texts = pane.Texts();
  EXPECT_EQ(texts[texts.size() - 4], "TxSlRequestCal Failed");
  EXPECT_EQ(texts[texts.size() - 3], kOldBinKept);
  EXPECT_EQ(texts.back(), "     -Read Failed-");
  EXPECT_EQ(test::ReadAll(out), before);
  EXPECT_FALSE(std::filesystem::exists(out + kReadWorkingSuffix));
}

TEST_F(BankJobTest, ProgramFileWithoutTheSignatureIsRefusedBeforeAnythingIsSent) {
  auto bytes = test::ReadAll(bin);
  bytes[3] = 'X';
  test::WriteAll(bin, bytes);
  EXPECT_EQ(ProgramBank(rig.link, pane, {kBank, true, true}, bin), -1);
  EXPECT_TRUE(rig.tap->Packets().empty());
  EXPECT_EQ(pane.Texts().front(), "Not an ORV KDM-9 Flash BIN!");
  EXPECT_EQ(BankNow(), original);
}

TEST_F(BankJobTest, ReadWhoseStopFailsReportsWithTwoBlanksAndKeepsTheData) {
  rig.tap->SetHook(test::RefusePacket(6));
  const std::string out = dir.File("read.bin");
  EXPECT_EQ(ReadBank(rig.link, pane, {kBank, true, false}, out), -1);
  const auto texts = pane.Texts();
  EXPECT_EQ(texts[texts.size() - 4], "Bank Read Successful");
  EXPECT_EQ(texts[texts.size() - 3], "TxSlStop Failed  ");
  const auto file = test::ReadAll(out);
  ASSERT_EQ(file.size(), kCalImageSize);
  EXPECT_TRUE(std::equal(original.begin(), original.begin() + 8192, file.begin()));
  EXPECT_EQ(test::SumBytes(file, 8, kCalImageSize - 1), test::StoredChecksum(file));
}

TEST_F(BankJobTest, FlashJobReportsElapsedTimeOnSuccess) {
  MessagePane shown(FlashPaneStyle());
  std::vector<std::string> texts;
  shown.SetLineHook([&](Rgb, std::string_view text) { texts.emplace_back(text); });
  FlashJob job;
  job.bank = {kBank, false, true};
  job.action = kFlashProgram;
  job.programFile = bin;
  rig.link.Tick().Advance(1000);
  ASSERT_EQ(RunFlashJob(rig.link, shown, job, nullptr), 0);
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[texts.size() - 2], "");
  EXPECT_EQ(texts.back(), "0.0 Second(s)");  // the tick is not running here
}

TEST_F(BankJobTest, FlashJobWithoutAFileNameShowsTheBoxAndSendsNothing) {
  MessagePane shown(FlashPaneStyle());
  std::vector<std::pair<std::string, std::string>> boxes;
  auto box = [&](const std::string& text, const std::string& caption) { boxes.emplace_back(text, caption); };
  FlashJob job;
  job.action = kFlashProgram;
  EXPECT_EQ(RunFlashJob(rig.link, shown, job, box), -1);
  job.action = kFlashRead;
  job.readFile = dir.File("x.bin");
  EXPECT_EQ(RunFlashJob(rig.link, shown, job, box), -1);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0], std::make_pair(std::string("Need a Program Bank BIN Name"), std::string("File Error")));
  EXPECT_EQ(boxes[1].first, "Need a Read Bank BIN Name");
  EXPECT_TRUE(rig.tap->Packets().empty());
}

TEST(ElapsedText, TenthsOfASecond) {
  EXPECT_EQ(ElapsedText(123), "12.3 Second(s)");
  EXPECT_EQ(ElapsedText(5), "0.5 Second(s)");
}

TEST(BankJobOffline, PortNotConnectedFailsAtTheFirstCommand) {
  EcmLink link(MainProgramProfile());
  test::PaneRecorder pane;
  test::TempDir dir;
  const auto calibration = test::SampleCalibration(1);
  const CalImage image = MakeImageFromCalibration(calibration.data());
  test::WriteAll(dir.File("p.bin"), std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize));
  EXPECT_EQ(ProgramBank(link, pane, {0, true, true}, dir.File("p.bin")), -1);
  EXPECT_EQ(pane.Texts(), (std::vector<std::string>{"Bank Flash Program Starting", "TxMsXmit Failed", "",
                                                    "     -Flashing Failed-"}));
}

}  // namespace
}  // namespace vantor
