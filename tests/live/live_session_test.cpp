#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "link/commands.h"
#include "support/test_ecm_support.h"
#include "live/live_session.h"
#include "sim/sim_ecm.h"
#include "sim/sim_serial.h"
#include "support/sim_wire.h"

namespace vantor {
namespace {

using simtest::WaitFor;

class CountingConsumer : public FrameConsumer {
 public:
  void OnFrame(const std::uint8_t*, bool draw) override {
    ++frames;
    if (draw) ++drawn;
  }
  std::atomic<int> frames{0};
  std::atomic<int> drawn{0};
};

TEST(LiveSessionTest, FramesFromTheSimulatedEcmReachLiveDataAndTheConsumers) {
  sim::SimOptions options;
  options.paced = false;  // bytes as fast as the line takes them
  options.framesPerSecond = 340;  // and the engine model's frames twenty times as often
  sim::SimEcm ecm(options);
  Settings settings;
  LiveSession session(settings, sim::SimOpener(ecm));
  CountingConsumer gauges;
  session.Loop().SetConsumer(ConsumerSlot::Gauges, &gauges);
  session.Start();
  const std::string port = sim::kSimPortName;
  session.Link().RequestPort(PortOpen, &port);
  ASSERT_TRUE(WaitFor([&] { return session.Loop().FramesProcessed() >= 120; }, std::chrono::seconds(20)));
  EXPECT_GE(gauges.drawn.load(), 120) << "the gauges are on screen";
  session.Loop().SetConsumer(ConsumerSlot::Gauges, nullptr);
  session.Stop();
  EXPECT_FALSE(session.Link().HandleValid()) << "the port is closed at stop";
  EXPECT_FALSE(ecm.Streaming()) << "the stream was stopped before the close";
}

// A module that says nothing (not yet powered, say) is asked for its stream
// again every second: the ticking second wakes the display thread.
TEST(LiveSessionTest, TheStreamIsAskedForEverySecondWhileNothingComes) {
  auto wire = std::make_shared<test::FakeWire>();
  test::FakeOpener opener(wire);
  Settings settings;
  LiveSession session(settings, [&](const std::string& name) { return opener.Open(name); });
  session.Start();
  const std::string port = "COM2";
  session.Link().RequestPort(PortOpen, &port);
  const test::Bytes request = simtest::MsPacket('X', kStreamStart);
  // The open's request, the display thread's first, then one a second.
  EXPECT_TRUE(WaitFor([&] {
    const auto packets = wire->Packets();
    return std::count(packets.begin(), packets.end(), request) >= 4;
  }));
  session.Stop();
}

}  // namespace
}  // namespace vantor
