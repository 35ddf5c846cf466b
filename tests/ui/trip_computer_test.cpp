#include "ui/draw/trip_computer.h"

#include <gtest/gtest.h>

#include <array>

#include "live/live_frame.h"
#include "settings/settings.h"

namespace vantor::ui {
namespace {

TEST(TripComputer, CounterIncreaseAcrossTheWrap) {
  struct Case {
    unsigned from, to, increase;
  };
  for (const Case& c : {Case{250, 4, 10}, Case{4, 250, 246}, Case{255, 0, 1}, Case{7, 7, 0}})
    EXPECT_EQ(CounterIncrease(c.from, c.to), c.increase) << c.from << " -> " << c.to;
}

TEST(TripComputer, ConstantsFromTheFrame) {
  struct Case {
    unsigned vssWord, flowWord;
    std::uint8_t config;
    int previousPpm, ppm, flow;
  };
  const Case cases[] = {
      {230, 18880, 0x08, 0, 4004, 200},  // 920920 / 230 = 4004
      {0, 18880, 0x08, 4004, 4004, 200}, // no constant: the previous one stays
      {1, 18880, 0x18, 0, 920920, 800},  // per-cylinder flow, 8 cylinders: x 4
      {3, 18880, 0x15, 0, 306973, 400},  // 5 cylinders: x 2 (whole division)
  };
  for (const Case& c : cases) {
    std::array<std::uint8_t, 273> frame{};
    frame[frame::kVssConstant] = static_cast<std::uint8_t>(c.vssWord >> 8);
    frame[frame::kVssConstant + 1] = static_cast<std::uint8_t>(c.vssWord);
    frame[frame::kInjectorFlow] = static_cast<std::uint8_t>(c.flowWord >> 8);
    frame[frame::kInjectorFlow + 1] = static_cast<std::uint8_t>(c.flowWord);
    frame[frame::kEngineConfig] = c.config;
    EXPECT_EQ(PulsesPerMileOf(frame.data(), c.previousPpm), c.ppm) << c.vssWord;
    EXPECT_EQ(FlowConstantOf(frame.data()), c.flow) << c.vssWord;
  }
}

// Flow constant 200: 18432 fuel counts are 1.0000153 gallons.
TEST(TripComputer, Results) {
  struct Case {
    const char* name;
    unsigned windowVss, windowFuel;
    TripTotals totals;
    bool metric;
    int previousAverage;
    TripResults expected;
  };
  const Case cases[] = {
      {"Driving", 4000, 1843, {100000, 18432, 4000, 200}, false, 0, {10, 250, 250, 100}},
      {"DrivingMetric", 4000, 1843, {100000, 18432, 4000, 200}, true, 0, {4, 106, 402, 378}},
      {"NoFuelInWindow", 500, 0, {100000, 18432, 4000, 200}, false, 0, {99, 250, 250, 100}},
      {"EconomyCapped", 17000, 1, {4e9, 18432, 4000, 200}, false, 0, {99, 999, 10000000, 100}},
      {"NoPulsesPerMile", 4000, 1843, {100000, 18432, 0, 200}, false, 0, {0, 0, 0, 100}},
      {"NoFlowConstant", 4000, 1843, {100000, 18432, 4000, 0}, false, 123, {99, 123, 250, 0}},
      {"Cleared", 0, 0, {0, 0, 0, 0}, false, 0, {99, 0, 0, 0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TripResults r = ComputeTripResults(c.windowVss, c.windowFuel, c.totals, c.metric, c.previousAverage);
    EXPECT_EQ(r.instant, c.expected.instant);
    EXPECT_EQ(r.averageTenths, c.expected.averageTenths);
    EXPECT_EQ(r.distanceTenths, c.expected.distanceTenths);
    EXPECT_EQ(r.fuelHundredths, c.expected.fuelHundredths);
  }
}

class TripComputerTest : public ::testing::Test {
 protected:
  TripComputerTest() : computer(settings) {
    frame[frame::kVssConstant] = 0;
    frame[frame::kVssConstant + 1] = 230;  // 4004 pulses per mile
  }
  TripPhase Feed(int frames, bool running) {
    TripPhase phase = TripPhase::Ignored;
    for (int i = 0; i < frames; ++i) phase = computer.AddFrame(frame.data(), 1000, running);
    return phase;
  }
  Settings settings;
  TripComputer computer;
  std::array<std::uint8_t, 273> frame{};
};

TEST_F(TripComputerTest, WarmsUpAfterEveryReset) {
  EXPECT_EQ(Feed(5, true), TripPhase::Ignored);
  EXPECT_EQ(Feed(69, true), TripPhase::WarmingUp);
  EXPECT_EQ(Feed(1, true), TripPhase::Ready);
  computer.ResetSampling();
  EXPECT_EQ(Feed(74, true), TripPhase::WarmingUp);
  EXPECT_EQ(Feed(1, true), TripPhase::Ready);
}

TEST_F(TripComputerTest, AccumulatesOnlyWhileRunningAndAcrossTheWrap) {
  frame[frame::kVssCounter] = 250;
  frame[frame::kFuelCounter] = 200;
  Feed(75, true);
  frame[frame::kVssCounter] = 4;
  frame[frame::kFuelCounter] = 10;
  Feed(1, false);
  EXPECT_EQ(computer.Totals().vss, 0.0);
  frame[frame::kVssCounter] = 14;
  frame[frame::kFuelCounter] = 20;
  Feed(1, true);
  EXPECT_EQ(computer.Totals().vss, 10.0);
  EXPECT_EQ(computer.Totals().fuel, 10.0);
}

TEST_F(TripComputerTest, ResetKeepsTotalsAndClearEmptiesThem) {
  settings.totalVss = 5000;
  settings.totalPw = 300;
  TripComputer loaded(settings);
  loaded.ResetSampling();
  EXPECT_EQ(loaded.Totals().vss, 5000.0);
  loaded.Clear();
  Settings stored;
  stored.totalVss = stored.totalPw = 1;
  loaded.StoreTotals(stored);
  EXPECT_EQ(stored.totalVss, 0.0);
  EXPECT_EQ(stored.totalPw, 0.0);
}

}  // namespace
}  // namespace vantor::ui
