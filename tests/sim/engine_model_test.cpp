#include "sim/engine_model.h"

#include <gtest/gtest.h>

#include <vector>

#include "live/live_frame.h"

namespace vantor::sim {
namespace {

using namespace vantor::frame;

using Frame = std::vector<std::uint8_t>;

// Every frame of the first 140 seconds of the cycle, built once.
class EngineCycle : public ::testing::Test {
 protected:
  static const std::vector<Frame>& Frames() {
    static const std::vector<Frame> frames = [] {
      EngineModel model;
      std::vector<Frame> all(static_cast<std::size_t>(140 * EngineModel::kFramesPerSecond), Frame(kFrameDataSize));
      for (Frame& frame : all) model.NextFrame(frame.data());
      return all;
    }();
    return frames;
  }
};

// The mixture swings rich and lean in equal turns, so the integrator stays near 128.
TEST_F(EngineCycle, CruiseIsClosedLoopWithTheIntegratorNear128) {
  int cruise = 0;
  for (const auto& d : Frames()) {
    if (d[kSpeed] != 60 || !(d[kFlags14] & 0x80)) continue;
    ++cruise;
    EXPECT_EQ(d[kBlm], 136);
    EXPECT_NEAR(d[kInt], 128, 12);
  }
  EXPECT_GT(cruise, 17 * 15);
}

TEST_F(EngineCycle, SpeedPulsesAgreeWithTheDistanceDriven) {
  // Sum the counter's increases over the whole run and compare with the distance driven.
  double pulses = 0, miles = 0;
  for (std::size_t i = 1; i < Frames().size(); ++i) {
    const int now = Frames()[i][kVssCounter], before = Frames()[i - 1][kVssCounter];
    pulses += now >= before ? now - before : 256 - before + now;
    miles += Frames()[i][kSpeed] / 3600.0 / EngineModel::kFramesPerSecond;
  }
  EXPECT_GT(miles, 1.0);
  EXPECT_NEAR(pulses / EngineModel::kPulsesPerMile, miles, miles * 0.03);
}

}  // namespace
}  // namespace vantor::sim
