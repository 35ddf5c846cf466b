#include <gtest/gtest.h>

#include <algorithm>

#include "live/live_frame.h"
#include "sim/sim_ecm.h"
#include "support/sim_wire.h"

namespace vantor::sim {
namespace {

using simtest::Bytes;
using simtest::InfoPacket;
using simtest::MsPacket;
using simtest::PgmPagePacket;
using simtest::Reply;
using simtest::SlPacket;

constexpr std::int64_t kSecond = 1000000;

// A simulator on a clock the test moves; the host side is a scanner.
struct Bench {
  Bench() : clock(std::make_shared<ManualSimClock>()), ecm([&] {
    SimOptions options;
    options.paced = false;
    options.clock = clock;
    return options;
  }()) {}

  void Send(const Bytes& bytes) { ecm.Receive(bytes.data(), bytes.size()); }
  // Moves the clock and takes what the module sent meanwhile; the byte count.
  std::size_t After(std::int64_t micros) {
    clock->Advance(micros);
    std::uint8_t buffer[40000];
    const std::size_t n = ecm.Transmit(buffer, sizeof buffer);
    scanner.Add(buffer, n);
    return n;
  }
  std::optional<Reply> Ask(const Bytes& packet) {
    Send(packet);
    After(kSecond / 100);
    return scanner.NextReply();
  }
  void EnterFlashMode() {
    Send(MsPacket('F', 0));
    ASSERT_TRUE(ecm.FlashMode());
  }
  int CountFrames() {
    int frames = 0;
    while (scanner.NextFrame()) ++frames;
    return frames;
  }

  std::shared_ptr<ManualSimClock> clock;
  SimEcm ecm;
  simtest::StreamScanner scanner;
};

// The reply's type and leading payload bytes.
void ExpectReply(const std::optional<Reply>& reply, std::uint8_t type, const Bytes& leading = {}) {
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->type, type);
  ASSERT_GE(reply->payload.size(), leading.size());
  EXPECT_EQ(Bytes(reply->payload.begin(), reply->payload.begin() + static_cast<std::ptrdiff_t>(leading.size())), leading);
}

// Stray bytes before a packet are skipped; the running bank
// shows in byte 256; unbegun frames are not sent after a stop.
TEST(SimStream, StartsOnRequestSendsSeventeenValidFramesASecondAndStops) {
  Bench bench;
  EXPECT_EQ(bench.After(kSecond), 0u);  // silent until asked
  bench.Send(MsPacket('B', 13));  // 13 AND 7 = 5
  Bytes noisy{0x00, 'R', 'X'};
  const Bytes start = MsPacket('X', 102);
  noisy.insert(noisy.end(), start.begin(), start.end());
  bench.Send(noisy);
  bench.After(kSecond - 1);
  const auto frame = bench.scanner.NextFrame();
  ASSERT_TRUE(frame);
  EXPECT_EQ((*frame)[frame::kBankInfo], 0x85);
  EXPECT_EQ(bench.CountFrames(), 16);
  EXPECT_EQ(bench.scanner.Size(), 0u);  // nothing but whole valid frames
  bench.clock->Advance(kSecond / 2);
  bench.Send(MsPacket('X', 0));
  bench.After(kSecond);
  EXPECT_EQ(bench.CountFrames(), 0);
}

TEST(SimFlash, EraseProgramAndReadBackFollowFlashSemantics) {
  Bench bench;
  bench.EnterFlashMode();
  ExpectReply(bench.Ask(InfoPacket(2, 0x5A)), 'A', {0, 2, 0, 0, 0x5A});
  ExpectReply(bench.Ask(SlPacket(2, {17})), 'A', {2, 2});  // bank 2, sector index 1
  Bytes page(128);
  for (int i = 0; i < 128; ++i) page[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 3);
  ExpectReply(bench.Ask(PgmPagePacket(40, page)), 'A', {7, 2, 40, 0, 0});  // page 40 is in sector 1
  // Programming again without an erase can only clear bits; the page reads back
  // as both patterns together only if the erase blanked it first.
  ExpectReply(bench.Ask(PgmPagePacket(40, Bytes(128, 0x0F))), 'A');

  const auto read = bench.Ask(SlPacket(3, {2}));
  ExpectReply(read, 'B', {2});
  ASSERT_EQ(read->payload.size(), 32769u);
  for (int i = 0; i < 128; ++i)
    EXPECT_EQ(read->payload[1 + 40 * 128 + static_cast<std::size_t>(i)], (i * 3) & 0x0F) << i;

  ExpectReply(bench.Ask(SlPacket(4)), 'A', {4});
  EXPECT_FALSE(bench.ecm.FlashMode());
}

TEST(SimFlash, RefusesWhereAModuleWould) {
  Bench bench;
  EXPECT_EQ(bench.Ask(InfoPacket(0))->type, 'N');  // not in flash mode
  bench.EnterFlashMode();
  Bytes bad = InfoPacket(0);
  bad.back() ^= 0x01;
  EXPECT_EQ(bench.Ask(bad)->type, 'N');            // bad check value
  EXPECT_EQ(bench.Ask(SlPacket(2, {64}))->type, 'N');  // no such sector
  EXPECT_EQ(bench.Ask(InfoPacket(0))->type, 'A');
}

TEST(SimFaults, RefusedCommandDelayedReplyAndIgnoredStop) {
  Bench bench;
  SimFaults faults;
  faults.refuseCommand = 2;
  faults.replyDelayMicros = 3 * kSecond;
  faults.ignoreStop = true;
  bench.ecm.SetFaults(faults);
  bench.Send(MsPacket('X', 102));
  bench.EnterFlashMode();  // which does not stop the stream either
  bench.Send(SlPacket(2, {3}));
  bench.After(2 * kSecond);
  EXPECT_FALSE(bench.scanner.NextReply());
  EXPECT_GT(bench.CountFrames(), 0);  // frames still flow
  bench.After(2 * kSecond);
  ExpectReply(bench.scanner.NextReply(), 'N', {2});
}

TEST(SimFaults, DroppedAndBadCheckOutput) {
  Bench bench;
  bench.EnterFlashMode();
  SimFaults faults;
  faults.dropByteOfNextOutput = 0;
  bench.ecm.SetFaults(faults);
  EXPECT_FALSE(bench.Ask(InfoPacket(0)));  // no header
  EXPECT_TRUE(bench.Ask(InfoPacket(0)));   // faults are one-shot

  Bench stream;
  faults = {};
  faults.badCheckFrames = 2;
  stream.ecm.SetFaults(faults);
  stream.Send(MsPacket('X', 102));
  stream.After(kSecond - 1);
  EXPECT_EQ(stream.CountFrames(), 15);
}

TEST(SimCable, UnpluggedEcmIsDeafAndMute) {
  Bench bench;
  bench.Send(MsPacket('X', 102));
  bench.ecm.Unplug();
  EXPECT_EQ(bench.After(kSecond), 0u);
  bench.Send(MsPacket('B', 3));
  EXPECT_EQ(bench.ecm.RunningBank(), 0);
  const auto generation = bench.ecm.PlugGeneration();
  bench.ecm.Replug();
  EXPECT_EQ(bench.ecm.PlugGeneration(), generation + 1);
  bench.Send(MsPacket('B', 3));
  EXPECT_EQ(bench.ecm.RunningBank(), 3);
}

}  // namespace
}  // namespace vantor::sim
