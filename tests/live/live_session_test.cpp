#include <gtest/gtest.h>

#include <algorithm>

#include "link/commands.h"
#include "live/live_session.h"
#include "support/sim_wire.h"
#include "support/test_ecm_support.h"

namespace vantor {
namespace {

using simtest::WaitFor;

// A module that says nothing (not yet powered, say) is asked for its stream
// again every second: the ticking second wakes the display thread. The stop
// closes the port.
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
  EXPECT_FALSE(session.Link().HandleValid());
  EXPECT_EQ(wire->Packets().back(), simtest::MsPacket('X', kStreamStop)) << "the stream stopped before the close";
}

}  // namespace
}  // namespace vantor
