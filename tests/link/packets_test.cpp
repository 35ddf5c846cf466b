#include "link/packets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "link/crc16.h"
#include "open_link.h"

namespace vantor {
namespace {

using test::AckPayload;
using test::Bytes;
using test::MakeReply;
using test::OpenLink;

TEST(SendPacket, FramesItAndRefusesOversizeArguments) {
  OpenLink m;
  Bytes data(130);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(SendMsPacket(m.link, 'X', data.data(), 2), -1);
  EXPECT_EQ(SendSlPacket(m.link, 8, data.data(), 129), -1);
  EXPECT_EQ(SendSlPacket(m.link, 1, data.data(), 130), -1);
  ASSERT_EQ(SendMsPacket(m.link, 'X', data.data(), 1), 0);
  EXPECT_EQ(m.Written(), (Bytes{0x52, 0x58, 0x00, 0xB7, 0xB8}));
  ASSERT_EQ(SendMsPacket(m.link, 'Q', nullptr, 0), 0);
  EXPECT_EQ(m.Written().size(), 4u);
  ASSERT_EQ(SendSlPacket(m.link, 7, data.data(), 129), 0);
  const Bytes packet = m.Written();
  ASSERT_EQ(packet.size(), 133u);
  EXPECT_EQ((Bytes{packet[0], packet[1], packet[2], packet[130]}), (Bytes{0x53, 7, 0, 128}));
  EXPECT_EQ(Crc16(packet.data(), 131), (packet[131] << 8) | packet[132]);
}

Bytes Payload(std::size_t length, std::uint8_t first) {
  Bytes payload(length);
  payload[0] = first;
  for (std::size_t i = 1; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
  return payload;
}

// Replies in a row: each type fills only its own fields, and strays before a header are
// skipped (the commands' tests read the acknowledgement and bank replies).
TEST(ReceiveSlReply, ReadsEachReplyTypeIntoItsFields) {
  using Fields = std::array<int, 5>;  // type, command, bank, page, echo
  const struct {
    Bytes strays;
    std::uint8_t type;
    Bytes payload;
    Fields expected;
  } cases[] = {
      // With the reply's own 'S' the last stray makes "S S": the first is dropped.
      {{0x00, 0xFF, 0x41, 0x55, 0xAA, 0x53, 'Z', 0x53}, 'N', AckPayload(6, 2, 11, 4), {'N', 6, 2, 11, 4}},
      {{}, 'P', Payload(129, 33), {'P', 6, 2, 33, 4}},
      {{}, 'V', Payload(128, 1), {'V', 6, 2, 33, 4}},
  };
  OpenLink m;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    m.Feed(c.strays);
    m.Feed(MakeReply(c.type, c.payload));
    ASSERT_EQ(ReceiveSlReply(m.link), 0);
    const SlReply& reply = m.link.Reply();
    EXPECT_EQ((Fields{reply.type, reply.command, reply.bank, reply.page, reply.infoEcho}), c.expected);
    EXPECT_TRUE(std::equal(c.payload.begin(), c.payload.end(), reply.payload.begin()));
    EXPECT_EQ(m.link.RxAvailable(), 0u);
  }
  EXPECT_TRUE(m.sink.Lines().empty());
}

TEST(ReceiveSlReply, WrongChecksumFailsWithItsMessageAlsoWithoutASink) {
  OpenLink m;
  Bytes reply = MakeReply('A', AckPayload(0, 0, 0, 0));
  reply.back() ^= 0x01;
  m.Feed(reply);
  EXPECT_EQ(ReceiveSlReply(m.link), -1);
  ASSERT_EQ(m.sink.Lines().size(), 1u);
  EXPECT_EQ(m.sink.Lines()[0].text, "RX Cksum Failure");
  EXPECT_EQ(m.sink.Lines()[0].background, MakeRgb(150, 106, 3));
  m.link.SetMessageSink(nullptr);
  reply[5] ^= 0x10;
  m.Feed(reply);
  EXPECT_EQ(ReceiveSlReply(m.link), -1);
}

}  // namespace
}  // namespace vantor
