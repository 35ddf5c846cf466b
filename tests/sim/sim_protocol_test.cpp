#include <gtest/gtest.h>

#include <algorithm>

#include "live/live_frame.h"
#include "sim/sim_ecm.h"
#include "sim/sim_wire.h"

namespace vantor::sim {
namespace {

using simtest::Bytes;
using simtest::InfoPacket;
using simtest::MsPacket;
using simtest::PgmPagePacket;
using simtest::SlPacket;
using simtest::StreamScanner;

constexpr std::int64_t kSecond = 1000000;

// A simulator on a clock the test moves; the host side is a scanner.
struct Bench {
  explicit Bench(bool paced = false) : clock(std::make_shared<ManualSimClock>()), ecm(Options(paced)) {}

  SimOptions Options(bool paced) {
    SimOptions options;
    options.paced = paced;
    options.clock = clock;
    return options;
  }
  void Send(const Bytes& bytes) { ecm.Receive(bytes.data(), bytes.size()); }
  std::size_t Drain() {
    std::uint8_t buffer[40000];
    const std::size_t n = ecm.Transmit(buffer, sizeof buffer);
    scanner.Add(buffer, n);
    return n;
  }
  std::optional<simtest::Reply> Ask(const Bytes& packet) {
    Send(packet);
    clock->Advance(kSecond / 100);
    Drain();
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
  StreamScanner scanner;
};

TEST(SimStream, StartsOnRequestAndSendsSeventeenValidFramesASecond) {
  Bench bench;
  bench.clock->Advance(kSecond);
  EXPECT_EQ(bench.Drain(), 0u);  // silent until asked
  bench.Send(MsPacket('X', 102));
  EXPECT_TRUE(bench.ecm.Streaming());
  bench.clock->Advance(kSecond - 1);
  bench.Drain();
  EXPECT_EQ(bench.CountFrames(), 17);
  EXPECT_EQ(bench.scanner.Size(), 0u);  // nothing but whole valid frames
}

TEST(SimStream, StopEndsTheStreamAndUnbegunFramesAreNotSent) {
  Bench bench;
  bench.Send(MsPacket('X', 102));
  bench.clock->Advance(kSecond / 2);
  bench.Send(MsPacket('X', 0));
  EXPECT_FALSE(bench.ecm.Streaming());
  bench.clock->Advance(kSecond);
  bench.Drain();
  EXPECT_EQ(bench.CountFrames(), 0);
}

TEST(SimStream, RunningBankShowsInByte256) {
  Bench bench;
  bench.Send(MsPacket('B', 13));  // 13 AND 7 = 5
  EXPECT_EQ(bench.ecm.RunningBank(), 5);
  bench.Send(MsPacket('X', 102));
  bench.clock->Advance(1);
  bench.Drain();
  const auto frame = bench.scanner.NextFrame();
  ASSERT_TRUE(frame);
  EXPECT_EQ((*frame)[frame::kBankInfo], 0x85);
}

TEST(SimStream, PacedLineDeliversAtLineRate) {
  Bench bench(true);
  bench.Send(MsPacket('X', 102));
  bench.clock->Advance(10000);  // 10 ms: 115 bytes at 11,520 a second
  EXPECT_EQ(bench.Drain(), 115u);
  bench.clock->Advance(20000);
  EXPECT_EQ(bench.Drain(), 277u - 115u);  // the rest of the first frame, then idle
}

TEST(SimStream, DamagedPacketsAreIgnoredAndTheNextOneIsFound) {
  Bench bench;
  Bytes noisy{0x00, 'R', 'X'};
  Bytes start = MsPacket('X', 102);
  noisy.insert(noisy.end(), start.begin(), start.end());
  bench.Send(noisy);
  EXPECT_TRUE(bench.ecm.Streaming());
  Bytes badStop = MsPacket('X', 0);
  badStop[4] ^= 1;
  bench.Send(badStop);
  EXPECT_TRUE(bench.ecm.Streaming());
}

TEST(SimFlash, InfoEchoesCommandBankAndByteThree) {
  Bench bench;
  bench.EnterFlashMode();
  const auto reply = bench.Ask(InfoPacket(6, 0x5A));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->type, 'A');
  EXPECT_EQ(reply->payload[0], 0);
  EXPECT_EQ(reply->payload[1], 6);
  EXPECT_EQ(reply->payload[4], 0x5A);
  EXPECT_EQ(bench.ecm.SelectedBank(), 6);
}

TEST(SimFlash, EraseProgramAndReadBackFollowFlashSemantics) {
  Bench bench;
  bench.EnterFlashMode();
  ASSERT_EQ(bench.Ask(InfoPacket(2))->type, 'A');
  const auto erase = bench.Ask(SlPacket(2, {17}));  // bank 2, sector index 1
  ASSERT_TRUE(erase);
  EXPECT_EQ(erase->type, 'A');
  EXPECT_EQ(erase->payload[0], 2);
  Bytes bank = bench.ecm.Bank(2);
  EXPECT_TRUE(std::all_of(bank.begin() + 4096, bank.begin() + 8192, [](std::uint8_t b) { return b == 0xFF; }));
  EXPECT_NE(bank[4095], 0xFF);  // the sector before is untouched (the default calibration there is not blank)

  Bytes page(128);
  for (int i = 0; i < 128; ++i) page[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 3);
  const auto programmed = bench.Ask(PgmPagePacket(40, page));  // page 40 is in sector 1
  ASSERT_TRUE(programmed);
  EXPECT_EQ(programmed->type, 'A');
  EXPECT_EQ(programmed->payload[0], 7);
  EXPECT_EQ(programmed->payload[1], 2);
  EXPECT_EQ(programmed->payload[2], 40);

  // Programming again without an erase can only clear bits.
  Bytes second(128, 0x0F);
  ASSERT_EQ(bench.Ask(PgmPagePacket(40, second))->type, 'A');

  const auto read = bench.Ask(SlPacket(3, {2}));
  ASSERT_TRUE(read);
  ASSERT_EQ(read->type, 'B');
  ASSERT_EQ(read->payload.size(), 32769u);
  EXPECT_EQ(read->payload[0], 2);
  for (int i = 0; i < 128; ++i)
    EXPECT_EQ(read->payload[1 + 40 * 128 + static_cast<std::size_t>(i)], (i * 3) & 0x0F) << i;

  const auto cal = bench.Ask(SlPacket(1, {2}));
  ASSERT_TRUE(cal);
  ASSERT_EQ(cal->type, 'C');
  ASSERT_EQ(cal->payload.size(), 8193u);
  EXPECT_TRUE(std::equal(cal->payload.begin() + 1, cal->payload.end(), read->payload.begin() + 1));

  const auto stop = bench.Ask(SlPacket(4));
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->type, 'A');
  EXPECT_EQ(stop->payload[0], 4);
  EXPECT_FALSE(bench.ecm.FlashMode());
}

TEST(SimFlash, RefusesWhereAModuleWould) {
  Bench bench;
  EXPECT_EQ(bench.Ask(InfoPacket(0))->type, 'N');  // not in flash mode
  bench.EnterFlashMode();
  Bytes bad = InfoPacket(0);
  bad.back() ^= 0x01;
  EXPECT_EQ(bench.Ask(bad)->type, 'N');            // bad check value
  EXPECT_EQ(bench.Ask(SlPacket(5))->type, 'N');    // unknown command
  EXPECT_EQ(bench.Ask(SlPacket(2, {64}))->type, 'N');  // no such sector
  EXPECT_EQ(bench.Ask(SlPacket(1, {8}))->type, 'N');   // no such bank
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
  bench.EnterFlashMode();
  EXPECT_TRUE(bench.ecm.Streaming());  // flash mode did not stop it either

  bench.Send(SlPacket(2, {3}));
  bench.clock->Advance(2 * kSecond);
  bench.Drain();
  EXPECT_FALSE(bench.scanner.NextReply());
  EXPECT_GT(bench.CountFrames(), 0);  // frames still flow
  bench.clock->Advance(2 * kSecond);
  bench.Drain();
  const auto reply = bench.scanner.NextReply();
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->type, 'N');
  EXPECT_EQ(reply->payload[0], 2);
}

TEST(SimFaults, DroppedCorruptedAndBadCheckOutput) {
  Bench bench;
  bench.EnterFlashMode();
  SimFaults faults;
  faults.corruptByteOfNextOutput = 5;
  bench.ecm.SetFaults(faults);
  EXPECT_FALSE(bench.Ask(InfoPacket(0)));  // the damaged reply fails its check
  faults = {};
  faults.dropByteOfNextOutput = 0;
  bench.ecm.SetFaults(faults);
  EXPECT_FALSE(bench.Ask(InfoPacket(0)));  // no header
  EXPECT_TRUE(bench.Ask(InfoPacket(0)));   // faults are one-shot

  Bench stream;
  faults = {};
  faults.badCheckFrames = 2;
  stream.ecm.SetFaults(faults);
  stream.Send(MsPacket('X', 102));
  stream.clock->Advance(kSecond - 1);
  stream.Drain();
  EXPECT_EQ(stream.CountFrames(), 15);
}

TEST(SimCable, UnpluggedEcmIsDeafAndMute) {
  Bench bench;
  bench.Send(MsPacket('X', 102));
  bench.ecm.Unplug();
  bench.clock->Advance(kSecond);
  EXPECT_EQ(bench.Drain(), 0u);
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
