#include "link/packets.h"

#include <gtest/gtest.h>

#include "link/crc16.h"
#include "link/ecm_link.h"
#include "test_ecm_support.h"

namespace vantor {
namespace {

using test::AckPayload;
using test::Bytes;
using test::MakeReply;

// A connected link whose writes are taken by hand on the test thread.
struct OpenLink : test::ManualLink {
  explicit OpenLink(const LinkProfile& profile = MainProgramProfile()) : ManualLink(profile) {
    Open();
    wire->ClearPackets();
  }
};

TEST(SendMsPacket, BuildsTheStreamStopPacketAndRefusesTwoArgumentsOrABusySlot) {
  OpenLink m;
  const std::uint8_t args[2] = {0, 2};
  EXPECT_EQ(SendMsPacket(m.link, 'X', args, 2), -1);
  EXPECT_FALSE(m.link.TxPending());
  ASSERT_EQ(SendMsPacket(m.link, 'X', args, 1), 0);
  EXPECT_EQ(SendMsPacket(m.link, 'X', args, 1), -1);
  EXPECT_EQ(m.Written(), (Bytes{0x52, 0x58, 0x00, 0xB7, 0xB8}));
  ASSERT_EQ(SendMsPacket(m.link, 'Q', nullptr, 0), 0);
  const Bytes bare = m.Written();
  ASSERT_EQ(bare.size(), 4u);
  EXPECT_EQ(Crc16(bare.data(), 2), (bare[2] << 8) | bare[3]);
}

TEST(SendSlPacket, BuildsA133BytePacketAndRefusesCommand8Or130DataBytes) {
  OpenLink m;
  Bytes data(130);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(SendSlPacket(m.link, 8, data.data(), 129), -1);
  EXPECT_EQ(SendSlPacket(m.link, 1, data.data(), 130), -1);
  EXPECT_FALSE(m.link.TxPending());
  ASSERT_EQ(SendSlPacket(m.link, 7, data.data(), 129), 0);
  const Bytes packet = m.Written();
  ASSERT_EQ(packet.size(), 133u);
  EXPECT_EQ(packet[0], 0x53);
  EXPECT_EQ(packet[1], 7);
  EXPECT_TRUE(std::equal(data.begin(), data.end() - 1, packet.begin() + 2));
  EXPECT_EQ(Crc16(packet.data(), 131), (packet[131] << 8) | packet[132]);
  m.WhileServed([&] { m.link.ReleasePort(); });
  EXPECT_EQ(SendSlPacket(m.link, 1, data.data(), 129), -1);
}

// The lengths the receiver reads by; only a long reply shows them otherwise.
TEST(ReplyTypeTable, LengthsInTableOrder) {
  const std::string order = "ANVPCB";
  const std::uint32_t totals[] = {16, 16, 132, 133, 8197, 32773};
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(ReplyTypeTable[i].type, order[i]);
    EXPECT_EQ(ReplyTypeTable[i].totalLength, totals[i]);
    EXPECT_EQ(ReplyTypeTable[i].payloadLength, totals[i] - 4);
    EXPECT_LE(ReplyTypeTable[i].payloadLength, kReplyPayloadCapacity);
  }
}

TEST(ReceiveSlReply, ReadsAcknowledgementsAndRefusalsAlike) {
  OpenLink m;
  for (const std::uint8_t type : {'A', 'N'}) {
    m.Feed(MakeReply(type, AckPayload(7, 3, 42, 9)));
    ASSERT_EQ(ReceiveSlReply(m.link), 0);
    const SlReply& reply = m.link.Reply();
    EXPECT_EQ(reply.type, type);
    EXPECT_EQ(reply.command, 7);
    EXPECT_EQ(reply.bank, 3);
    EXPECT_EQ(reply.page, 42);
    EXPECT_EQ(reply.infoEcho, 9);
    EXPECT_EQ(m.link.RxAvailable(), 0u);
  }
  EXPECT_TRUE(m.Messages().empty());
}

TEST(ReceiveSlReply, SkipsStrayBytesAnEarlierSAndAnUnknownType) {
  OpenLink m;
  m.Feed({0x00, 0xFF, 0x41, 0x55, 0xAA, 0x53, 'Z'});
  m.Feed({0x53});  // with the reply's own 'S': "S S", the first is dropped
  m.Feed(MakeReply('A', AckPayload(2, 1, 0, 0)));
  ASSERT_EQ(ReceiveSlReply(m.link), 0);
  EXPECT_EQ(m.link.Reply().command, 2);
  EXPECT_EQ(m.link.RxAvailable(), 0u);
}

// A calibration in the main program's ring, a whole bank in the update utility's.
TEST(ReceiveSlReply, ReadsTheLongReplies) {
  const struct {
    const LinkProfile* profile;
    std::uint8_t type;
    std::size_t payload;
  } cases[] = {{&MainProgramProfile(), 'C', 8193}, {&UpdateUtilityProfile(), 'B', 32769}};
  for (const auto& c : cases) {
    OpenLink m(*c.profile);
    Bytes payload(c.payload);
    payload[0] = 5;
    for (std::size_t i = 1; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
    m.Feed(MakeReply(c.type, payload));
    ASSERT_EQ(ReceiveSlReply(m.link), 0) << c.type;
    EXPECT_EQ(m.link.Reply().type, c.type);
    EXPECT_EQ(m.link.Reply().bank, 5);
    EXPECT_TRUE(std::equal(payload.begin(), payload.end(), m.link.Reply().payload.begin()));
  }
}

TEST(ReceiveSlReply, PageAndVerifyRepliesFillOnlyTheirFields) {
  OpenLink m;
  m.Feed(MakeReply('A', AckPayload(7, 2, 11, 4)));
  ASSERT_EQ(ReceiveSlReply(m.link), 0);
  Bytes page(129, 0);
  page[0] = 33;
  m.Feed(MakeReply('P', page));
  ASSERT_EQ(ReceiveSlReply(m.link), 0);
  EXPECT_EQ(m.link.Reply().type, 'P');
  EXPECT_EQ(m.link.Reply().page, 33);
  EXPECT_EQ(m.link.Reply().bank, 2);
  m.Feed(MakeReply('V', Bytes(128, 9)));
  ASSERT_EQ(ReceiveSlReply(m.link), 0);
  EXPECT_EQ(m.link.Reply().type, 'V');
  EXPECT_EQ(m.link.Reply().page, 33);
  EXPECT_EQ(m.link.Reply().command, 7);
}

TEST(ReceiveSlReply, WrongChecksumFailsWithItsMessageAlsoWithoutASink) {
  const std::pair<const LinkProfile*, Rgb> cases[] = {{&MainProgramProfile(), MakeRgb(150, 106, 3)},
                                                      {&UpdateUtilityProfile(), MakeRgb(255, 255, 0)}};
  for (const auto& [profile, colour] : cases) {
    OpenLink m(*profile);
    Bytes reply = MakeReply('A', AckPayload(0, 0, 0, 0));
    reply.back() ^= 0x01;
    m.Feed(reply);
    EXPECT_EQ(ReceiveSlReply(m.link), -1);
    ASSERT_EQ(m.sink.Lines().size(), 1u);
    EXPECT_EQ(m.sink.Lines()[0].text, "RX Cksum Failure");
    EXPECT_EQ(m.sink.Lines()[0].colour, colour);
    m.link.SetMessageSink(nullptr);
    reply[5] ^= 0x10;
    m.Feed(reply);
    EXPECT_EQ(ReceiveSlReply(m.link), -1);
  }
}

}  // namespace
}  // namespace vantor
