#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "logs/quarter_mile.h"

namespace vantor {
namespace {

struct LineFields {
  int pulses = 0;
  int pulsesPerMile = 4000;
  int speed = 0;
  int rpm = 1000;
  int tps = 50;
  int o2 = 450;
  double afr = 14.7;
  char kind = '0';
};

// View lines held in memory, each written field by field at its offset.
class MemoryLines : public ViewLines {
 public:
  void Add(const LineFields& f) {
    std::string line(kViewLineSize, ' ');
    char text[16];
    const auto put = [&](int offset, const char* format, auto value) {
      const int n = std::snprintf(text, sizeof text, format, value);
      line.replace(static_cast<std::size_t>(offset), static_cast<std::size_t>(n), text);
    };
    line[0] = f.kind;
    put(1, "%3d", f.pulses);
    put(5, "%6d", f.pulsesPerMile);
    char runTime[16];
    const int seconds = static_cast<int>(lines_.size()) / 17;
    std::snprintf(runTime, sizeof runTime, "%01d:%02d:%02d", 0, seconds / 60, seconds % 60);
    line.replace(12, 7, runTime);
    put(20, "%4d", f.rpm);
    put(25, "%3d", f.speed);
    put(33, "%3d", f.tps);
    put(45, "%4d", f.o2);
    put(96, "%4.1f", f.afr);
    line[107] = '\r';
    line[108] = '\n';
    lines_.push_back(line);
  }
  int LineCount() const override { return static_cast<int>(lines_.size()); }
  int ReadLines(int first, int count, char* out) const override {
    int n = 0;
    for (; n < count && first + n < LineCount(); ++n)
      std::memcpy(out + n * kViewLineSize, lines_[static_cast<std::size_t>(first + n)].data(), kViewLineSize);
    return n;
  }

 private:
  std::vector<std::string> lines_;
};

// A run at a steady pulse rate: 5280 / ppm feet per pulse.
MemoryLines SteadyRun(int frames, int pulsesPerFrame, int pulsesPerMile, int speed) {
  MemoryLines lines;
  int counter = 0;
  for (int i = 0; i <= frames; ++i) {
    LineFields f;
    f.pulses = counter;
    f.pulsesPerMile = pulsesPerMile;
    f.speed = speed;
    lines.Add(f);
    counter = (counter + pulsesPerFrame) % 256;
  }
  return lines;
}

TEST(ComputePerformance, PulseCounterWrapCountsTheMissingPulses) {
  // 250 -> 3 is 9 pulses; at 5280 pulses a mile that is 9 feet.
  MemoryLines lines;
  LineFields f;
  f.pulsesPerMile = 5280;
  f.pulses = 250;
  lines.Add(f);
  f.pulses = 3;
  lines.Add(f);
  for (int i = 0; i < 6; ++i) {  // 8 feet a frame: 60 ft after 9 + 6 * 8 = 57 ... 65 at frame 8
    f.pulses += 8;
    lines.Add(f);
  }
  f.pulses += 8;
  lines.Add(f);
  const PerformanceResults r = ComputePerformance(lines, 0, false);
  EXPECT_DOUBLE_EQ(r.t60ft, 8 / 17.0);
}

TEST(ComputePerformance, QuarterMileAtFrame230SwitchesToTheTwoPixelStep) {
  // One foot a pulse: 229 frames of 5 feet (1145), then 200 feet on frame 230.
  MemoryLines lines;
  int counter = 0;
  for (int frame = 0; frame <= 240; ++frame) {
    LineFields f;
    f.pulsesPerMile = 5280;
    f.pulses = counter % 256;
    f.speed = 100;
    lines.Add(f);
    counter += frame < 229 ? 5 : 200;
  }
  const PerformanceResults r = ComputePerformance(lines, 0, false);
  EXPECT_DOUBLE_EQ(r.t4, 230 / 17.0);
  EXPECT_EQ(SecondsText(r.t4), "13.5 sec.");
  EXPECT_EQ(StepPixels(r), 2);
  EXPECT_EQ(SecondTicks(StepPixels(r)), 21);
  PerformanceResults quicker;
  quicker.t4 = 13.2;
  EXPECT_EQ(StepPixels(quicker), 3);
  EXPECT_EQ(SecondTicks(3), 14);
}

TEST(ComputePerformance, TimesAndTrapSpeedsOfASteadyRun) {
  // 4 pulses a frame at 2640 ppm = 8 feet a frame, at 90 mph.
  const MemoryLines lines = SteadyRun(200, 4, 2640, 90);
  const PerformanceResults r = ComputePerformance(lines, 0, false);
  EXPECT_DOUBLE_EQ(r.t060, 1 / 17.0);
  EXPECT_DOUBLE_EQ(r.t60ft, 8 / 17.0);      // 64 ft
  EXPECT_DOUBLE_EQ(r.t330ft, 42 / 17.0);    // 336 ft
  EXPECT_DOUBLE_EQ(r.t8, 83 / 17.0);        // 664 ft
  EXPECT_DOUBLE_EQ(r.t4, 165 / 17.0);       // 1320 ft
  EXPECT_DOUBLE_EQ(r.trap8, 90.0);
  EXPECT_DOUBLE_EQ(r.trap4, 90.0);
  EXPECT_EQ(TrapText(r.trap4), " 90 mph");
  EXPECT_EQ(r.runTime, "0:00:00");
}

TEST(ComputePerformance, KphRunTakesSixtyAt96Point56AndShowsTrapsInMph) {
  MemoryLines lines;
  int counter = 0;
  for (int i = 0; i < 200; ++i) {
    LineFields f;
    f.pulsesPerMile = 2640;
    f.pulses = counter;
    f.speed = i < 10 ? 96 : 161;  // 96 km/h is below 60 mph; 161 km/h is 100.04 mph
    lines.Add(f);
    counter = (counter + 4) % 256;
  }
  const PerformanceResults r = ComputePerformance(lines, 0, true);
  EXPECT_DOUBLE_EQ(r.t060, 10 / 17.0);
  EXPECT_NEAR(r.trap4, 161 / 1.609344, 1e-9);
  EXPECT_EQ(TrapText(r.trap4), "100 mph");
}

TEST(ComputePerformance, StartingOnTheLastLineGivesZeroesAndNoTraces) {
  const MemoryLines lines = SteadyRun(20, 4, 2640, 90);
  const PerformanceResults r = ComputePerformance(lines, 20, false);
  EXPECT_EQ(r.t060 + r.t60ft + r.t330ft + r.t8 + r.trap8 + r.t4 + r.trap4, 0.0);
  EXPECT_EQ(SecondsText(r.t8), " 0.0 sec.");
  EXPECT_EQ(TrapText(r.trap8), "  0 mph");
  EXPECT_EQ(BuildTraces(lines, 20, 3, {}).size(), 1u);  // the start line's own point only
  EXPECT_TRUE(BuildTraces(lines, 21, 3, {}).empty());
}

TEST(ComputePerformance, UncalibratedLinesLeaveTheDistanceAlone) {
  // Lines without pulses per mile do not move the distance, but their pulses still count.
  MemoryLines lines;
  LineFields f;
  f.pulsesPerMile = 2640;  // 2 feet a pulse
  lines.Add(f);
  f.pulsesPerMile = 0;
  for (int i = 0; i < 5; ++i) {
    f.pulses += 10;
    lines.Add(f);
  }
  const PerformanceResults before = ComputePerformance(lines, 0, false);
  EXPECT_EQ(before.t60ft, 0.0);
  f.pulsesPerMile = 2640;
  lines.Add(f);  // 50 pulses so far: 100 feet
  const PerformanceResults after = ComputePerformance(lines, 0, false);
  EXPECT_DOUBLE_EQ(after.t60ft, 6 / 17.0);
}

TEST(ComputePerformance, UnreachedPointsStayZero) {
  const MemoryLines lines = SteadyRun(60, 4, 2640, 40);  // 480 feet, 40 mph
  const PerformanceResults r = ComputePerformance(lines, 0, false);
  EXPECT_EQ(r.t060, 0.0);
  EXPECT_GT(r.t330ft, 0.0);
  EXPECT_EQ(r.t8, 0.0);
  EXPECT_EQ(r.trap8, 0.0);
  EXPECT_EQ(r.t4, 0.0);
}

TEST(BuildTraces, PointsAdvanceByTheStepAndStopBeforeTheRightEdge) {
  const MemoryLines lines = SteadyRun(400, 4, 2640, 60);
  const auto three = BuildTraces(lines, 0, 3, {});
  ASSERT_FALSE(three.empty());
  EXPECT_EQ(three.front().x, 111);
  EXPECT_EQ(three[1].x, 114);
  EXPECT_LT(three.back().x, 790 - 3);
  EXPECT_GE(three.back().x + 3, 790 - 3);
  EXPECT_EQ(BuildTraces(lines, 0, 2, {}).back().x, 787);
}

TEST(BuildTraces, ValuesScaleToPixels) {
  MemoryLines lines;
  LineFields f;
  f.rpm = 2500;     // 120 px
  f.speed = 150;    // capped at 127 mph: 381 px; in km/h 204 cap: 279 px
  f.tps = 50;       // 191 px
  f.o2 = 1200;      // capped at 1000 mV: 382 px
  f.afr = 22.0;     // limited to 20: 382 px
  f.kind = '1';
  lines.Add(f);
  TracePoint p = BuildTraces(lines, 0, 3, {}).at(0);
  EXPECT_EQ(p.rpmY, 504 - 120);
  EXPECT_EQ(p.speedY, 504 - 381);
  EXPECT_EQ(p.tpsY, 504 - 191);
  EXPECT_EQ(p.o2Y, 504 - 382);
  EXPECT_EQ(p.kind, '1');
  TraceOptions metricWideband;
  metricWideband.speedInKph = true;
  metricWideband.wideband = true;
  p = BuildTraces(lines, 0, 3, metricWideband).at(0);
  EXPECT_EQ(p.speedY, 504 - 279);
  EXPECT_EQ(p.o2Y, 504 - 382);
}

TEST(BuildTraces, SelectedLineShowsItsOwnKindTick) {
  MemoryLines lines;
  LineFields f;
  f.kind = '9';
  lines.Add(f);
  TraceOptions options;
  options.selectedLine = 0;
  options.selectedKind = '2';
  EXPECT_EQ(BuildTraces(lines, 0, 3, options).at(0).kind, '2');
}

TEST(ReadoutAt, ShowsTheLineUnderTheCursor) {
  MemoryLines lines;
  for (int i = 0; i < 30; ++i) {
    LineFields f;
    f.rpm = 1000 + i;
    f.speed = i;
    lines.Add(f);
  }
  EXPECT_EQ(LineUnderCursor(5, 3, 122), 5 + 3);
  const CursorReadout r = ReadoutAt(lines, 5, 3, 122, false);
  ASSERT_TRUE(r.valid);
  EXPECT_EQ(r.rpm, "1008");
  EXPECT_EQ(r.speed, "8");
  EXPECT_EQ(r.o2, "450");
  EXPECT_EQ(r.tps, "50");
  EXPECT_EQ(r.runTime, "0:00:00");
  EXPECT_EQ(ReadoutAt(lines, 5, 3, 122, true).o2, "14.7");
  EXPECT_FALSE(ReadoutAt(lines, 25, 3, 140, false).valid);
}

}  // namespace
}  // namespace vantor
