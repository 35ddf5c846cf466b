#include <gtest/gtest.h>

#include <algorithm>

#include "support/temp_dir.h"
#include "support/log_builder.h"
#include "sim/sim_ecm.h"
#include "support/sim_wire.h"

namespace vantor::sim {
namespace {

using testlog::LogBuilder;
using testlog::SeededFrame;

const std::string kStamp = testlog::StampRecord(" 07/20/2013 - 16:47:09");

TEST(SimReplay, StreamsTheGoodFramesOfALogInOrderAndLoops) {
  LogBuilder log;
  log.Raw(kStamp + "PORT COM2\r\nUPDATERATE 2\r\n").Frame(SeededFrame(1)).Damaged(SeededFrame(2));
  log.Frame(SeededFrame(3), testlog::StampRecord(" 07/20/2013 - 16:47:10"), 100).Frame(SeededFrame(4));
  const test::TempDir dir;
  const auto path = dir.File("replay.dat");
  log.Save(path);
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
    EXPECT_TRUE(std::ranges::equal(*frame, SeededFrame(seed))) << seed;
  }
}

TEST(SimReplay, ALogWithoutGoodFramesIsRefused) {
  const test::TempDir dir;
  const auto path = dir.File("bad.dat");
  LogBuilder().Raw(kStamp).Damaged(SeededFrame(1)).Save(path);
  SimEcm ecm;
  std::string error;
  EXPECT_FALSE(ecm.Replay(path, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ecm.Replay("/nonexistent/log.dat", &error));
}

}  // namespace
}  // namespace vantor::sim
