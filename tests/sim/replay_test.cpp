#include <gtest/gtest.h>

#include <cstdio>

#include "sim/log_builder.h"
#include "sim/sim_ecm.h"
#include "sim/sim_wire.h"

namespace vantor::sim {
namespace {

using simtest::LogBuilder;

TEST(SimReplay, StreamsTheGoodFramesOfALogInOrderAndLoops) {
  LogBuilder log;
  log.Stamp().Text("PORT COM2\r\nUPDATERATE 2\r\n").Frame(1).Frame(2, true).FrameWith(3, 100, "TIME: 07/20/2013 - 16:47:10").Frame(4);
  const auto path = log.Save("vantor_sim_replay.dat");
  auto clock = std::make_shared<ManualSimClock>();
  SimOptions options;
  options.paced = false;
  options.clock = clock;
  SimEcm ecm(options);
  std::string error;
  ASSERT_TRUE(ecm.Replay(path, &error)) << error;
  const auto start = simtest::MsPacket('X', 102);
  ecm.Receive(start.data(), start.size());
  clock->Advance(1000000);
  std::uint8_t buffer[8000];
  simtest::StreamScanner scanner;
  scanner.Add(buffer, ecm.Transmit(buffer, sizeof buffer));
  const int expected[] = {1, 3, 4, 1, 3, 4};
  for (int seed : expected) {
    const auto frame = scanner.NextFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(*frame, simtest::FrameData(seed));
  }
  std::remove(path.c_str());
}

TEST(SimReplay, ALogWithoutGoodFramesIsRefused) {
  const auto path = LogBuilder().Stamp().Frame(1, true).Save("vantor_sim_replay_bad.dat");
  SimEcm ecm;
  std::string error;
  EXPECT_FALSE(ecm.Replay(path, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ecm.Replay("/nonexistent/log.dat", &error));
  std::remove(path.c_str());
}

}  // namespace
}  // namespace vantor::sim
