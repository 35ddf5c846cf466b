#include "link/commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <thread>

#include "link/crc16.h"
#include "link/ecm_link.h"
#include "test_ecm_support.h"

namespace vantor {
namespace {

using test::AckPayload;
using test::Bytes;
using test::EcmBehaviour;
using test::MakeReply;
using test::WaitFor;
using simtest::MsPacket;

// The 129 data bytes of an "S" packet, after checking its frame.
Bytes SlData(const Bytes& packet, std::uint8_t command) {
  EXPECT_EQ(packet.size(), 133u);
  if (packet.size() != 133) return Bytes(129, 0);
  EXPECT_EQ(packet[0], 0x53);
  EXPECT_EQ(packet[1], command);
  EXPECT_EQ(Crc16(packet.data(), 131), (packet[131] << 8) | packet[132]);
  return Bytes(packet.begin() + 2, packet.end() - 2);
}

class LinkCommands : public ::testing::Test {
 protected:
  explicit LinkCommands(const LinkProfile& profile) : ecm_(profile) {
    ecm_.Link().Tick().Start();  // as the flash window does
    ecm_.Connect();
    ecm_.Wire().ClearPackets();
  }
  void AnswerEverySl(const Bytes& reply) {
    ecm_.SetResponder([reply](const Bytes& packet) { return packet[0] == 'S' ? reply : Bytes(); });
  }
  Bytes LastPacket() {
    const auto packets = ecm_.Wire().Packets();
    return packets.empty() ? Bytes() : packets.back();
  }
  // Puts `count` stray bytes in the ring, as a stream would.
  void Strays(std::size_t count) {
    ecm_.Wire().SendToHost(Bytes(count, 0x55));
    ASSERT_TRUE(WaitFor([&] { return ecm_.Link().RxAvailable() == count; }));
  }
  test::TestEcm ecm_;
};

class Commands : public LinkCommands {
 protected:
  Commands() : LinkCommands(MainProgramProfile()) {}
};

class UpdateCommands : public LinkCommands {
 protected:
  UpdateCommands() : LinkCommands(UpdateUtilityProfile()) {}
};

// ---- "R" commands ----

TEST_F(Commands, XmitSendsTheWholeByteAndStopEmptiesTheRing) {
  ASSERT_EQ(TxMsXmit(ecm_.Link(), kStreamStart), 0);
  EXPECT_EQ(ecm_.WaitPacket(1), (Bytes{0x52, 0x58, 0x66, 0xBB, 0xD8}));
  Strays(50);
  ASSERT_EQ(TxMsXmit(ecm_.Link(), kStreamStop), 0);
  EXPECT_EQ(ecm_.Link().RxAvailable(), 0u);  // emptied before the command returns
  EXPECT_EQ(ecm_.WaitPacket(2), (Bytes{0x52, 0x58, 0x00, 0xB7, 0xB8}));
}

TEST_F(UpdateCommands, XmitSendsOnlyBit0) {
  ASSERT_EQ(TxMsXmit(ecm_.Link(), 103), 0);
  EXPECT_EQ(ecm_.WaitPacket(1), MsPacket('X', 1));
  Strays(10);
  ASSERT_EQ(TxMsXmit(ecm_.Link(), kStreamStart), 0);  // 102 has bit 0 clear: a stop
  EXPECT_EQ(ecm_.Link().RxAvailable(), 0u);
  EXPECT_EQ(ecm_.WaitPacket(2), MsPacket('X', 0));
}

TEST_F(Commands, BankSendsBankAnd7Twice) {
  ASSERT_EQ(TxMsBank(ecm_.Link(), 9), 0);
  EXPECT_EQ(ecm_.WaitPacket(2), MsPacket('B', 1));
  EXPECT_EQ(ecm_.Wire().Packets()[0], MsPacket('B', 1));
}

TEST_F(UpdateCommands, BankIsNotPresent) {
  EXPECT_EQ(TxMsBank(ecm_.Link(), 3), -1);
  EXPECT_EQ(ecm_.Wire().PacketCount(), 0u);
}

TEST(BankCommand, OneAcceptedSubmissionIsEnough) {
  test::ManualLink m;
  m.Open();
  EXPECT_EQ(TxMsBank(m.link, 4), 0);  // nobody writes the slot: the repeat is refused
  EXPECT_EQ(m.Written(), MsPacket('B', 4));
  const Bytes busy{1};
  ASSERT_EQ(m.link.SubmitPacket(busy.data(), 1), 0);
  EXPECT_EQ(TxMsBank(m.link, 4), -1);
}

// Without the main program's final pause the next reply must still find the ring reset.
TEST(FlashCommand, EntersFlashModeWithTheRingEmptiedInBothPrograms) {
  for (const LinkProfile* profile : {&MainProgramProfile(), &UpdateUtilityProfile()}) {
    test::TestEcm ecm(*profile);
    ecm.Connect();
    ecm.Wire().ClearPackets();
    ecm.Wire().SendToHost(Bytes(20, 0xAA));
    ASSERT_TRUE(WaitFor([&] { return ecm.Link().RxAvailable() == 20; }));
    ASSERT_EQ(TxMsFlash(ecm.Link()), 0);
    EXPECT_FALSE(ecm.Link().RxResetPending());
    EXPECT_EQ(ecm.Link().RxAvailable(), 0u);
    EXPECT_EQ(ecm.WaitPacket(1), MsPacket('F', 0));
  }
}

TEST(DisconnectedLink, EveryCommandFailsAtOnce) {
  test::ManualLink m;
  const std::uint8_t page[128] = {};
  EXPECT_EQ(TxMsXmit(m.link, kStreamStart), -1);
  EXPECT_EQ(TxMsBank(m.link, 1), -1);
  EXPECT_EQ(TxMsFlash(m.link), -1);
  // A refused send does not wait for a reply: the stopped LinkTick would never end one.
  EXPECT_EQ(TxSlInfo(m.link, InfoParams{}), -1);
  EXPECT_EQ(TxSlRequestCal(m.link, 0), -1);
  EXPECT_EQ(TxSlEraseSector(m.link, 0), -1);
  EXPECT_EQ(TxSlRequestBin(m.link, 0), -1);
  EXPECT_EQ(TxSlStop(m.link, true), -1);
  EXPECT_EQ(TxSlStop(m.link, false), -1);
  EXPECT_EQ(TxSlPgmPage(m.link, 0, 0, page), -1);
  EXPECT_TRUE(m.Messages().empty());
}

// ---- "S" commands ----

TEST_F(Commands, InfoAnnouncesTheJob) {
  InfoParams params;
  params.bank = 6;
  params.p2 = 0x5A;
  ASSERT_EQ(TxSlInfo(ecm_.Link(), params), 0);
  Bytes expected{0x20, 6, 1, 0x5A, 1, 25};
  expected.resize(129, 0x20);
  EXPECT_EQ(SlData(LastPacket(), 0), expected);
}

TEST_F(Commands, InfoFourthParameterRule) {
  const std::pair<std::uint8_t, std::uint8_t> cases[] = {{0, 0}, {1, 15}, {9, 15}, {15, 15}, {16, 16}, {25, 25}, {255, 255}};
  for (const auto& [given, sent] : cases) {
    InfoParams params;
    params.p4 = given;
    ASSERT_EQ(TxSlInfo(ecm_.Link(), params), 0);
    EXPECT_EQ(SlData(LastPacket(), 0)[5], sent) << int(given);
  }
}

// Each acknowledgement the command must refuse, then the one it takes.
TEST_F(Commands, RepliesAreJudgedByTypeCommandAndEchoes) {
  struct Case {
    const char* name;
    Bytes reply;
    std::function<int(EcmLink&)> command;
    int result;
  };
  const std::uint8_t page[128] = {};
  auto info = [](EcmLink& l) { return TxSlInfo(l, InfoParams{}); };  // p2 = 1 is the byte echoed
  auto erase = [](EcmLink& l) { return TxSlEraseSector(l, 3); };
  auto cal4 = [](EcmLink& l) { return TxSlRequestCal(l, 4); };
  Bytes bank4(8193, 0);
  bank4[0] = 4;
  const Case cases[] = {
      {"info wrong echo", MakeReply('A', AckPayload(0, 0, 0, 2)), info, -1},
      {"info refused", MakeReply('N', AckPayload(0, 0, 0, 1)), info, -1},
      {"info other command", MakeReply('A', AckPayload(4, 0, 0, 1)), info, -1},
      {"info taken", MakeReply('A', AckPayload(0, 0, 0, 1)), info, 0},
      {"erase other command", MakeReply('A', AckPayload(7, 0, 0, 0)), erase, -1},
      {"erase refused", MakeReply('N', AckPayload(2, 0, 0, 0)), erase, -1},
      {"cal other bank", MakeReply('C', bank4), [](EcmLink& l) { return TxSlRequestCal(l, 5); }, -1},
      {"cal taken", MakeReply('C', bank4), cal4, 0},
      {"cal acknowledged", MakeReply('A', AckPayload(1, 4, 0, 0)), cal4, -1},
      {"stop other command", MakeReply('A', AckPayload(0, 0, 0, 0)), [](EcmLink& l) { return TxSlStop(l, true); }, -1},
      {"page other page", MakeReply('A', AckPayload(7, 0, 12, 0)), [&](EcmLink& l) { return TxSlPgmPage(l, 11, 0, page); }, -1},
      {"page taken", MakeReply('A', AckPayload(7, 0, 12, 0)), [&](EcmLink& l) { return TxSlPgmPage(l, 12, 0, page); }, 0},
  };
  for (const Case& c : cases) {
    AnswerEverySl(c.reply);
    EXPECT_EQ(c.command(ecm_.Link()), c.result) << c.name;
  }
  EXPECT_TRUE(ecm_.Sink().Lines().empty());  // the callers report the failures
}

TEST_F(Commands, RequestCalReadsTheBank) {
  ASSERT_EQ(TxSlRequestCal(ecm_.Link(), 5), 0);
  const Bytes data = SlData(LastPacket(), 1);
  EXPECT_EQ(data[0], 5);
  EXPECT_EQ(Bytes(data.begin() + 1, data.end()), Bytes(128, 0x20));
  const SlReply& reply = ecm_.Link().Reply();
  EXPECT_EQ(reply.bank, 5);
  for (std::size_t i = 0; i < 8192; ++i) ASSERT_EQ(reply.payload[i + 1], EcmBehaviour::PatternByte(5, i)) << i;
}

TEST_F(Commands, EraseSectorOfBank2Index1SendsSector17) {
  ASSERT_EQ(TxSlEraseSector(ecm_.Link(), 2 * 8 + 1), 0);
  const Bytes data = SlData(LastPacket(), 2);
  EXPECT_EQ(data[0], 17);
  EXPECT_EQ(std::string(data.begin() + 1, data.begin() + 17), " Erase Sector   ");
  EXPECT_EQ(data[17], 0x00);
  EXPECT_EQ(Bytes(data.begin() + 18, data.end()), Bytes(111, 0x20));
}

TEST_F(Commands, RequestBinIsTheCalibrationReadInTheMainProgram) {
  ASSERT_EQ(TxSlRequestBin(ecm_.Link(), 2), 0);
  EXPECT_EQ(SlData(LastPacket(), 1)[0], 2);
  EXPECT_EQ(ecm_.Link().Reply().type, 'C');
}

TEST_F(UpdateCommands, RequestBinReadsTheWholeBankAndRefusesACalibrationReply) {
  ASSERT_EQ(TxSlRequestBin(ecm_.Link(), 6), 0);
  EXPECT_EQ(SlData(LastPacket(), 3)[0], 6);
  const SlReply& reply = ecm_.Link().Reply();
  EXPECT_EQ(reply.type, 'B');
  EXPECT_EQ(reply.bank, 6);
  for (std::size_t i = 0; i < 32768; ++i) ASSERT_EQ(reply.payload[i + 1], EcmBehaviour::PatternByte(6, i)) << i;
  Bytes payload(8193, 0);
  payload[0] = 6;
  AnswerEverySl(MakeReply('C', payload));
  EXPECT_EQ(TxSlRequestBin(ecm_.Link(), 6), -1);
}

TEST_F(Commands, StopWaitsForItsAcknowledgementOnlyWhenAsked) {
  ASSERT_EQ(TxSlStop(ecm_.Link(), true), 0);
  EXPECT_EQ(SlData(LastPacket(), 4), Bytes(129, 0x20));
  ecm_.SetResponder([](const Bytes&) { return Bytes(); });
  ASSERT_EQ(TxSlStop(ecm_.Link(), false), 0);
  EXPECT_EQ(SlData(ecm_.WaitPacket(2), 4), Bytes(129, 0x20));
  EXPECT_TRUE(ecm_.Sink().Lines().empty());
}

TEST_F(Commands, PgmPageSendsThePageAndChecksTheBankEcho) {
  ASSERT_EQ(TxMsBank(ecm_.Link(), 3), 0);
  ASSERT_TRUE(WaitFor([&] { return !ecm_.Link().TxPending(); }));  // callers pause after a bank change
  std::uint8_t page[128];
  for (int i = 0; i < 128; ++i) page[i] = static_cast<std::uint8_t>(255 - i);
  ASSERT_EQ(TxSlPgmPage(ecm_.Link(), 63, 3, page), 0);
  const Bytes data = SlData(LastPacket(), 7);
  EXPECT_EQ(data[0], 63);
  EXPECT_EQ(std::memcmp(data.data() + 1, page, 128), 0);
  EXPECT_EQ(TxSlPgmPage(ecm_.Link(), 63, 2, page), -1);  // the ECM runs bank 3
  EXPECT_EQ(TxSlPgmPage(ecm_.Link(), 63, 3, nullptr), -1);
}

TEST_F(Commands, SilentEcmFailsTheCommandWithTheReceiverMessage) {
  ecm_.SetResponder([](const Bytes&) { return Bytes(); });
  std::atomic<bool> done{false};
  std::thread fastClock([&] {  // the receiver's time limit passes without its second of waiting
    while (!done.load()) {
      ecm_.Link().Tick().Advance();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  });
  EXPECT_EQ(TxSlEraseSector(ecm_.Link(), 0), -1);
  done.store(true);
  fastClock.join();
  const auto lines = ecm_.Sink().Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].text, "RX Timeout 1");
}

}  // namespace
}  // namespace vantor
