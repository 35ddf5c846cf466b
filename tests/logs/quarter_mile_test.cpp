#include "logs/quarter_mile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>


namespace vantor {
namespace {

struct LineFields {
  int pulses = 0, pulsesPerMile = 4000, speed = 0, rpm = 1000, tps = 50, o2 = 450;
  double afr = 14.7;
  char kind = '0';
};

// View lines held in memory, each written field by field at its offset.
class MemoryLines : public ViewLines {
 public:
  void Add(const LineFields& f) {
    std::string line(kViewLineSize, ' ');
    const auto put = [&](int offset, const char* format, auto value) {
      char text[16];
      const int n = std::snprintf(text, sizeof text, format, value);
      line.replace(static_cast<std::size_t>(offset), static_cast<std::size_t>(n), text);
    };
    const int seconds = static_cast<int>(lines_.size()) / 17;
    line[0] = f.kind;
    put(1, "%3d", f.pulses);
    put(5, "%6d", f.pulsesPerMile);
    put(12, "0:%02d", seconds / 60);
    put(16, ":%02d", seconds % 60);
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

// lines lines; line i has the fields that shape(i, fields) leaves.
MemoryLines Lines(int lines, const std::function<void(int, LineFields&)>& shape) {
  MemoryLines out;
  for (int i = 0; i < lines; ++i) {
    LineFields f;
    shape(i, f);
    out.Add(f);
  }
  return out;
}

// A steady pulse rate from counter 0: 5280 / ppm feet per pulse.
MemoryLines SteadyRun(int frames, int pulsesPerFrame, int pulsesPerMile, int speed) {
  return Lines(frames + 1, [&](int i, LineFields& f) {
    f.pulses = i * pulsesPerFrame % 256;
    f.pulsesPerMile = pulsesPerMile;
    f.speed = speed;
  });
}

TEST(ComputePerformance, PulseCounterWrapCountsTheMissingPulses) {
  // 250 -> 3 is 9 pulses (9 feet at 5280 a mile), then 10 feet a frame: 59 ft at line 6, 69 at line 7.
  const MemoryLines lines = Lines(8, [](int i, LineFields& f) {
    f.pulsesPerMile = 5280;
    f.pulses = i == 0 ? 250 : 3 + 10 * (i - 1);
  });
  EXPECT_DOUBLE_EQ(ComputePerformance(lines, 0, false).t60ft, 7 / 17.0);
}

TEST(ComputePerformance, QuarterMileAtFrame230SwitchesToTheTwoPixelStep) {
  // One foot a pulse: 229 frames of 5 feet (1145), then 200 feet on frame 230.
  const MemoryLines lines = Lines(241, [](int i, LineFields& f) {
    f.pulsesPerMile = 5280;
    f.pulses = (i <= 229 ? 5 * i : 1145 + 200 * (i - 229)) % 256;
    f.speed = 100;
  });
  const PerformanceResults r = ComputePerformance(lines, 0, false);
  EXPECT_DOUBLE_EQ(r.t4, 230 / 17.0);
  EXPECT_EQ(SecondsText(r.t4), "13.5 sec.");
  EXPECT_EQ(StepPixels(r), 2);
  PerformanceResults quicker;
  quicker.t4 = 13.2;
  EXPECT_EQ(StepPixels(quicker), 3);
}

TEST(ComputePerformance, TimesAndTrapSpeedsOfASteadyRun) {
  // 4 pulses a frame at 2640 ppm = 8 feet a frame, at 90 mph.
  const PerformanceResults r = ComputePerformance(SteadyRun(200, 4, 2640, 90), 0, false);
  EXPECT_DOUBLE_EQ(r.t060, 1 / 17.0);
  EXPECT_DOUBLE_EQ(r.t60ft, 8 / 17.0);  // 64 ft
  EXPECT_DOUBLE_EQ(r.t4, 165 / 17.0);   // 1320 ft
  EXPECT_DOUBLE_EQ(r.trap4, 90.0);
  EXPECT_EQ(TrapText(r.trap4), " 90 mph");
  EXPECT_EQ(r.runTime, "0:00:00");
}

TEST(ComputePerformance, UnreachedPointsStayZeroAndTheLastLineGivesNoTraces) {
  const MemoryLines lines = SteadyRun(20, 4, 2640, 90);
  const PerformanceResults r = ComputePerformance(lines, 20, false);
  EXPECT_EQ(r.t060 + r.t60ft + r.t330ft + r.t8 + r.trap8 + r.t4 + r.trap4, 0.0);
  EXPECT_EQ(BuildTraces(lines, 20, 3, {}).size(), 1u);  // the start line's own point only
  EXPECT_TRUE(BuildTraces(lines, 21, 3, {}).empty());
}

TEST(ComputePerformance, UncalibratedLinesLeaveTheDistanceAloneButTheirPulsesCount) {
  // 2 feet a pulse where calibrated; 10 pulses a line, then none on the last line.
  const auto run = [](bool lastCalibrated) {
    return Lines(7, [=](int i, LineFields& f) {
      f.pulses = std::min(10 * i, 50);
      f.pulsesPerMile = i == 0 || (lastCalibrated && i == 6) ? 2640 : 0;
    });
  };
  EXPECT_EQ(ComputePerformance(run(false), 0, false).t60ft, 0.0);
  const PerformanceResults r = ComputePerformance(run(true), 0, false);
  EXPECT_DOUBLE_EQ(r.t60ft, 6 / 17.0);  // 50 pulses: 100 feet
  EXPECT_EQ(r.t330ft, 0.0) << "an unchanged counter adds no pulse";
}

TEST(BuildTraces, ValuesScaleToPixelsAndTheSelectedLineShowsItsOwnKind) {
  // rpm 2500: 120 px; speed capped at 127 mph (381 px) or 204 km/h (279 px);
  // AFR capped at 20: 382 px.
  const MemoryLines lines = Lines(1, [](int, LineFields& f) {
    f.rpm = 2500, f.speed = 150, f.o2 = 1200, f.afr = 22.0, f.kind = '1';
  });
  TracePoint p = BuildTraces(lines, 0, 3, {}).at(0);
  EXPECT_EQ(p.rpmY, 504 - 120);
  EXPECT_EQ(p.speedY, 504 - 381);
  EXPECT_EQ(p.kind, '1');
  p = BuildTraces(lines, 0, 3, {.speedInKph = true, .wideband = true, .selectedLine = 0, .selectedKind = '2'}).at(0);
  EXPECT_EQ(p.speedY, 504 - 279);
  EXPECT_EQ(p.o2Y, 504 - 382);
  EXPECT_EQ(p.kind, '2');
}

TEST(ReadoutAt, ShowsTheLineUnderTheCursor) {
  const MemoryLines lines = Lines(30, [](int i, LineFields& f) { f.rpm = 1000 + i, f.speed = i; });
  const CursorReadout r = ReadoutAt(lines, 5, 3, 122, false);
  ASSERT_TRUE(r.valid);
  EXPECT_EQ(r.rpm, "1008");
  EXPECT_EQ(r.speed, "8");
  EXPECT_EQ(r.tps, "50") << "every leading blank goes, one at a time";
  EXPECT_EQ(ReadoutAt(lines, 5, 3, 122, true).o2, "14.7");
  EXPECT_FALSE(ReadoutAt(lines, 25, 3, 140, false).valid);
  EXPECT_EQ(ReadoutAt(lines, 0, 3, 112, false).rpm, "1000") << "the start line itself";
}

}  // namespace
}  // namespace vantor
