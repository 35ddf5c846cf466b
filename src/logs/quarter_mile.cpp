#include "logs/quarter_mile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vantor {

namespace {

constexpr double kFramesPerSecond = 17.0;
constexpr double kKphPerMph = 1.609344;
constexpr int kBlockLines = 256;

int FieldInt(const char* line, int offset, int width) {
  char text[16] = {};
  std::string_view(line + offset, static_cast<std::size_t>(width)).copy(text, static_cast<std::size_t>(width));
  return std::atoi(text);
}

double FieldDouble(const char* line, int offset, int width) {
  char text[16] = {};
  std::string_view(line + offset, static_cast<std::size_t>(width)).copy(text, static_cast<std::size_t>(width));
  return std::atof(text);
}

std::string FieldText(const char* line, int offset, int width) {
  std::string_view text(line + offset, static_cast<std::size_t>(width));
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

// Visits lines from first on in blocks until visit returns false or the file ends.
template <typename Visit>
void ForEachLine(const ViewLines& lines, int first, Visit visit) {
  std::vector<char> block(static_cast<std::size_t>(kBlockLines) * kViewLineSize);
  for (int line = first;; line += kBlockLines) {
    const int got = lines.ReadLines(line, kBlockLines, block.data());
    for (int i = 0; i < got; ++i) {
      if (!visit(line + i, block.data() + static_cast<std::size_t>(i) * kViewLineSize)) return;
    }
    if (got < kBlockLines) return;
  }
}

struct Trap {
  double sum = 0.0;
  int start = -1;
  void Add(int frames, double mph) {
    if (start < 0) start = frames;
    sum += mph;
  }
  double Average(int frames) const { return sum / (frames - start + 1); }
};

int Pixels(double value) { return qtr_graph::kBaseline - static_cast<int>(std::lround(value)); }

}  // namespace

PerformanceResults ComputePerformance(const ViewLines& lines, int startLine, bool speedInKph) {
  PerformanceResults results;
  char first[kViewLineSize];
  if (startLine < 0 || lines.ReadLines(startLine, 1, first) != 1) return results;
  results.runTime = std::string(first + view_field::kRunTime, view_field::kRunTimeWidth);
  int previous = FieldInt(first, view_field::kPulseCounter, 3);
  const double sixty = speedInKph ? 96.56064 : 60.0;
  int frames = 0;
  long pulses = 0;
  double distance = 0.0;
  Trap trap8, trap4;
  ForEachLine(lines, startLine + 1, [&](int, const char* line) {
    ++frames;
    const int count = FieldInt(line, view_field::kPulseCounter, 3);
    pulses += count >= previous ? count - previous : 256 - previous + count;
    previous = count;
    // A line without a speed calibration leaves the distance where it was.
    const int pulsesPerMile = FieldInt(line, view_field::kPulsesPerMile, 6);
    if (pulsesPerMile > 0) distance = 5280.0 / pulsesPerMile * static_cast<double>(pulses);
    const double speed = FieldInt(line, view_field::kSpeed, 3);
    const double mph = speedInKph ? speed / kKphPerMph : speed;
    const double seconds = frames / kFramesPerSecond;
    if (results.t060 == 0.0 && speed >= sixty) results.t060 = seconds;
    if (results.t60ft == 0.0 && distance >= 60.0) results.t60ft = seconds;
    if (results.t330ft == 0.0 && distance >= 330.0) results.t330ft = seconds;
    if (results.trap8 == 0.0 && distance >= 594.0) trap8.Add(frames, mph);
    if (results.trap4 == 0.0 && distance >= 1254.0) trap4.Add(frames, mph);
    if (results.t8 == 0.0 && distance >= 660.0) {
      results.t8 = seconds;
      results.trap8 = trap8.Average(frames);
    }
    if (results.t4 == 0.0 && distance >= 1320.0) {
      results.t4 = seconds;
      results.trap4 = trap4.Average(frames);
      return false;
    }
    return true;
  });
  return results;
}

std::string SecondsText(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%4.1f sec.", seconds);
  return text;
}

std::string TrapText(double mph) {
  char text[32];
  std::snprintf(text, sizeof text, "%3.0f mph", mph);
  return text;
}

int StepPixels(const PerformanceResults& results) { return results.t4 >= 13.3 ? 2 : 3; }

int SecondTicks(int step) { return step == 2 ? 21 : 14; }

bool WidebandPreferred(const Settings& settings) {
  for (const AdcChannel& channel : settings.adcChannels) {
    if (channel.type != kChannelNone && channel.wbPreferred != 0) return true;
  }
  return false;
}

std::vector<TracePoint> BuildTraces(const ViewLines& lines, int startLine, int step, const TraceOptions& options) {
  std::vector<TracePoint> points;
  if (startLine < 0 || step <= 0) return points;
  int x = qtr_graph::kPlotLeft;
  ForEachLine(lines, startLine, [&](int lineNumber, const char* line) {
    if (x >= qtr_graph::kPlotRight - step) return false;
    TracePoint point;
    point.x = x;
    point.rpmY = Pixels(FieldInt(line, view_field::kRpm, 4) / 20.8333333);
    const double speed = FieldInt(line, view_field::kSpeed, 3);
    point.speedY = Pixels(options.speedInKph ? std::min(speed, 204.0) * 1.86 : std::min(speed, 127.0) * 3.0);
    if (options.wideband) {
      const double afr = std::clamp(FieldDouble(line, view_field::kWideband, 4), 10.0, 20.0);
      point.o2Y = Pixels((afr - 10.0) * 38.2);
    } else {
      const double mv = std::min(static_cast<double>(FieldInt(line, view_field::kO2, 4)), 1000.0);
      point.o2Y = Pixels(mv / 10.0 * 3.82);
    }
    point.tpsY = Pixels(FieldInt(line, view_field::kTps, 3) * 3.82);
    point.kind = lineNumber == options.selectedLine ? options.selectedKind : line[view_field::kKind];
    points.push_back(point);
    x += step;
    return true;
  });
  return points;
}

int LineUnderCursor(int startLine, int step, int cursorX) {
  return startLine + (cursorX - qtr_graph::kPlotLeft) / (step > 0 ? step : 1);
}

CursorReadout ReadoutAt(const ViewLines& lines, int startLine, int step, int cursorX, bool wideband) {
  CursorReadout readout;
  char line[kViewLineSize];
  const int number = LineUnderCursor(startLine, step, cursorX);
  if (number < 0 || lines.ReadLines(number, 1, line) != 1) return readout;
  readout.valid = true;
  readout.rpm = FieldText(line, view_field::kRpm, 4);
  readout.speed = FieldText(line, view_field::kSpeed, 3);
  readout.o2 = wideband ? FieldText(line, view_field::kWideband, 4) : FieldText(line, view_field::kO2, 4);
  readout.tps = FieldText(line, view_field::kTps, 3);
  readout.runTime = std::string(line + view_field::kRunTime, view_field::kRunTimeWidth);
  return readout;
}

}  // namespace vantor
