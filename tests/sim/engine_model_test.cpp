#include "sim/engine_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "live/live_frame.h"

namespace vantor::sim {
namespace {

using namespace vantor::frame;

int RpmFromPeriod(const std::uint8_t* data) {
  const unsigned period = Word(data, kRefPeriod);
  return period == 0 ? 0 : static_cast<int>(983040 / period);
}

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

TEST_F(EngineCycle, StartsStoppedThenRunsWithRunTimeCounting) {
  const auto& first = Frames().front();
  EXPECT_EQ(first[kStatus1] & 0x80, 0);
  EXPECT_EQ(RpmFromPeriod(first.data()), 0);
  const auto& later = Frames()[17 * 60];  // one minute in
  EXPECT_NE(later[kStatus1] & 0x80, 0);
  EXPECT_NEAR(Word(later.data(), kRunTime), 57, 1);  // started after three seconds
}

TEST_F(EngineCycle, CoarseSpeedBytesAgreeWithThePeriod) {
  for (const auto& d : Frames()) {
    const int rpm = RpmFromPeriod(d.data());
    if (rpm == 0 || rpm >= 6375) continue;
    // One step of the period is worth rpm² / 983,040 rpm: 34 at 5,800.
    const double periodStep = rpm * static_cast<double>(rpm) / 983040;
    EXPECT_NEAR(d[kRpmCoarse28] * 25, rpm, 25 + periodStep);
    EXPECT_NEAR(d[kRpmStep31] * 31.25, rpm, 32 + periodStep);
  }
}

TEST_F(EngineCycle, CruiseIsClosedLoopWithLearnAwayFrom128AndSwitchingO2) {
  int cruise = 0, lean = 0, rich = 0;
  for (const auto& d : Frames()) {
    if (d[kSpeed] != 60 || !(d[kFlags14] & 0x80)) continue;
    ++cruise;
    EXPECT_EQ(d[kBlm], 136);
    EXPECT_NE(d[kFlags14] & 0x02, 0);  // block learn on
    EXPECT_NEAR(d[kInt], 128, 12);
    (d[kO2] * 4.42 > 450 ? rich : lean)++;
  }
  EXPECT_GT(cruise, 17 * 15);
  EXPECT_GT(rich, cruise / 4);
  EXPECT_GT(lean, cruise / 4);
}

TEST_F(EngineCycle, WideOpenPullKnocksAndDecelerationCutsFuel) {
  bool retard = false, fuelCut = false, powerEnrich = false;
  unsigned maxRpm = 0;
  for (const auto& d : Frames()) {
    retard |= d[kRetard] > 0;
    fuelCut |= (d[kFlags8] & 0x08) != 0;
    powerEnrich |= (d[kFlags13] & 0x80) != 0 && d[kTps] > 250;
    maxRpm = std::max(maxRpm, static_cast<unsigned>(RpmFromPeriod(d.data())));
  }
  EXPECT_TRUE(retard);
  EXPECT_TRUE(fuelCut);
  EXPECT_TRUE(powerEnrich);
  EXPECT_GT(maxRpm, 5500u);
  EXPECT_GT(Word(Frames().back().data(), kKnockCount), 0u);
}

TEST_F(EngineCycle, SpeedPulsesAgreeWithSpeedAndTheConstant) {
  const unsigned constant = Word(Frames()[0].data(), kVssConstant);
  const int pulsesPerMile = static_cast<int>(920920.0 / constant + 0.5);
  EXPECT_EQ(pulsesPerMile, EngineModel::kPulsesPerMile);
  // Sum the counter's increases over the whole run and compare with the distance driven.
  double pulses = 0, miles = 0;
  for (std::size_t i = 1; i < Frames().size(); ++i) {
    const int now = Frames()[i][kVssCounter], before = Frames()[i - 1][kVssCounter];
    pulses += now >= before ? now - before : 256 - before + now;
    miles += Frames()[i][kSpeed] / 3600.0 / EngineModel::kFramesPerSecond;
  }
  EXPECT_GT(miles, 1.0);
  EXPECT_NEAR(pulses / pulsesPerMile, miles, miles * 0.03);
}

TEST_F(EngineCycle, WidebandChannelZeroReadsTheMixture) {
  for (const auto& d : Frames()) {
    if (!(d[kFlags13] & 0x80) || d[kTps] < 250) continue;
    const double volts = Word(d.data(), kAdcChannels) * 5.0 / 1023 + 0.004;
    EXPECT_NEAR(10 + volts * 2, 12.6, 0.1);  // power enrichment is rich
  }
  const double flow = 2.0 * Word(Frames()[0].data(), kInjectorFlow) / 188.798976;
  EXPECT_NEAR(flow, EngineModel::kInjectorLbHr, 0.1);
}

}  // namespace
}  // namespace vantor::sim
