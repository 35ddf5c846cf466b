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

TEST(SendMsPacket, BuildsTheStreamStopPacket) {
  OpenLink m;
  const std::uint8_t stop = 0;
  ASSERT_EQ(SendMsPacket(m.link, 'X', &stop, 1), 0);
  EXPECT_EQ(m.Written(), (Bytes{0x52, 0x58, 0x00, 0xB7, 0xB8}));
  ASSERT_EQ(SendMsPacket(m.link, 'Q', nullptr, 0), 0);
  const Bytes bare = m.Written();
  ASSERT_EQ(bare.size(), 4u);
  EXPECT_EQ(Crc16(bare.data(), 2), (bare[2] << 8) | bare[3]);
}

TEST(SendMsPacket, RefusesTwoArgumentsAndABusySlot) {
  OpenLink m;
  const std::uint8_t args[2] = {1, 2};
  EXPECT_EQ(SendMsPacket(m.link, 'X', args, 2), -1);
  EXPECT_FALSE(m.link.TxPending());
  EXPECT_EQ(SendMsPacket(m.link, 'X', args, 1), 0);
  EXPECT_EQ(SendMsPacket(m.link, 'X', args, 1), -1);
}

TEST(SendSlPacket, BuildsA133BytePacket) {
  OpenLink m;
  Bytes data(129);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
  ASSERT_EQ(SendSlPacket(m.link, 7, data.data(), data.size()), 0);
  const Bytes packet = m.Written();
  ASSERT_EQ(packet.size(), 133u);
  EXPECT_EQ(packet[0], 0x53);
  EXPECT_EQ(packet[1], 7);
  EXPECT_TRUE(std::equal(data.begin(), data.end(), packet.begin() + 2));
  EXPECT_EQ(Crc16(packet.data(), 131), (packet[131] << 8) | packet[132]);
}

TEST(SendSlPacket, RefusesCommand8And130DataBytes) {
  OpenLink m;
  const Bytes data(130, 0x20);
  EXPECT_EQ(SendSlPacket(m.link, 8, data.data(), 129), -1);
  EXPECT_EQ(SendSlPacket(m.link, 1, data.data(), 130), -1);
  EXPECT_FALSE(m.link.TxPending());
  m.link.ReleasePort();
  EXPECT_EQ(SendSlPacket(m.link, 1, data.data(), 129), -1);
}

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

TEST(ReceiveSlReply, ReadsAnAcknowledgement) {
  OpenLink m;
  m.Feed(MakeReply('A', AckPayload(7, 3, 42, 9)));
  ASSERT_EQ(ReceiveSlReply(m.link), 0);
  const SlReply& reply = m.link.Reply();
  EXPECT_EQ(reply.type, 'A');
  EXPECT_EQ(reply.command, 7);
  EXPECT_EQ(reply.bank, 3);
  EXPECT_EQ(reply.page, 42);
  EXPECT_EQ(reply.infoEcho, 9);
  EXPECT_EQ(m.link.RxAvailable(), 0u);
  EXPECT_TRUE(m.Messages().empty());
}

TEST(ReceiveSlReply, SkipsStrayBytesAndAnEarlierS) {
  OpenLink m;
  m.Feed({0x00, 0xFF, 0x41, 0x55, 0xAA});
  m.Feed({0x53});  // with the reply's own 'S': "S S", the first is dropped
  m.Feed(MakeReply('A', AckPayload(2, 1, 0, 0)));
  ASSERT_EQ(ReceiveSlReply(m.link), 0);
  EXPECT_EQ(m.link.Reply().command, 2);
  EXPECT_EQ(m.link.RxAvailable(), 0u);
}

TEST(ReceiveSlReply, SkipsAHeaderWithAnUnknownType) {
  OpenLink m;
  m.Feed({0x53, 'Z'});
  m.Feed(MakeReply('A', AckPayload(4, 0, 0, 0)));
  ASSERT_EQ(ReceiveSlReply(m.link), 0);
  EXPECT_EQ(m.link.Reply().command, 4);
}

TEST(ReceiveSlReply, ReadsARefusalLikeAnAcknowledgement) {
  OpenLink m;
  m.Feed(MakeReply('N', AckPayload(1, 6, 8, 5)));
  ASSERT_EQ(ReceiveSlReply(m.link), 0);
  EXPECT_EQ(m.link.Reply().type, 'N');
  EXPECT_EQ(m.link.Reply().command, 1);
  EXPECT_EQ(m.link.Reply().bank, 6);
  EXPECT_EQ(m.link.Reply().page, 8);
  EXPECT_EQ(m.link.Reply().infoEcho, 5);
}

TEST(ReceiveSlReply, ReadsAFullCalibrationReply) {
  OpenLink m;
  Bytes payload(8193);
  payload[0] = 5;
  for (std::size_t i = 1; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 3);
  const Bytes reply = MakeReply('C', payload);
  ASSERT_EQ(reply.size(), 8197u);
  m.Feed(reply);
  ASSERT_EQ(ReceiveSlReply(m.link), 0);
  EXPECT_EQ(m.link.Reply().type, 'C');
  EXPECT_EQ(m.link.Reply().bank, 5);
  EXPECT_TRUE(std::equal(payload.begin(), payload.end(), m.link.Reply().payload.begin()));
}

TEST(ReceiveSlReply, ReadsAWholeBankInTheUpdateUtilityRing) {
  OpenLink m(UpdateUtilityProfile());
  Bytes payload(32769);
  payload[0] = 7;
  for (std::size_t i = 1; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
  m.Feed(MakeReply('B', payload));
  ASSERT_EQ(ReceiveSlReply(m.link), 0);
  EXPECT_EQ(m.link.Reply().type, 'B');
  EXPECT_EQ(m.link.Reply().bank, 7);
  EXPECT_TRUE(std::equal(payload.begin(), payload.end(), m.link.Reply().payload.begin()));
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

TEST(ReceiveSlReply, WrongLastChecksumByteFailsWithItsMessage) {
  for (const LinkProfile* profile : {&MainProgramProfile(), &UpdateUtilityProfile()}) {
    OpenLink m(*profile);
    Bytes reply = MakeReply('A', AckPayload(0, 0, 0, 0));
    reply.back() ^= 0x01;
    m.Feed(reply);
    EXPECT_EQ(ReceiveSlReply(m.link), -1);
    ASSERT_EQ(m.sink.Lines().size(), 1u);
    EXPECT_EQ(m.sink.Lines()[0].text, "RX Cksum Failure");
    EXPECT_EQ(m.sink.Lines()[0].colour, profile->receiveErrorColour);
  }
  EXPECT_EQ(MainProgramProfile().receiveErrorColour, MakeRgb(150, 106, 3));
  EXPECT_EQ(UpdateUtilityProfile().receiveErrorColour, MakeRgb(255, 255, 0));
}

TEST(ReceiveSlReply, WorksWithoutAMessageSink) {
  OpenLink m;
  m.link.SetMessageSink(nullptr);
  Bytes reply = MakeReply('A', AckPayload(0, 0, 0, 0));
  reply[5] ^= 0x10;
  m.Feed(reply);
  EXPECT_EQ(ReceiveSlReply(m.link), -1);
}

}  // namespace
}  // namespace vantor
