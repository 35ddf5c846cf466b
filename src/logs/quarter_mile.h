#pragma once
// The standing-start run measured from a line of the Analysis view file,
// and the values the "1/4 Mile Graph" plots. No drawing here.

#include <string>
#include <vector>

#include "logs/analysis_view_file.h"
#include "settings/settings.h"

namespace vantor {

struct PerformanceResults {
  // Seconds, or trap speeds in mph; 0.0 = the point was not reached.
  double t060 = 0.0, t60ft = 0.0, t330ft = 0.0, t8 = 0.0, trap8 = 0.0, t4 = 0.0, trap4 = 0.0;
  std::string runTime;  // "h:mm:ss" of the start line, for the "RunTime:" caption
};

// ComputePerformance from start line s (17 lines to the second). speedInKph:
// [KPHORMPH] = 1, the view's speed column is then in km/h.
PerformanceResults ComputePerformance(const ViewLines& lines, int startLine, bool speedInKph);

// "%4.1f sec." and "%3.0f mph".
std::string SecondsText(double seconds);
std::string TrapText(double mph);

namespace qtr_graph {
constexpr int kPlotLeft = 111;       // x of the start line
constexpr int kPlotRight = 790;      // traces stop at x >= 790 - step
constexpr int kBaseline = 504;       // y = 504 - value
constexpr int kCursorStart = 122;
constexpr int kCursorMin = 112;
constexpr int kCursorMax = 792;
constexpr int kTickTop = 485;
constexpr int kTickBottom = 503;
}  // namespace qtr_graph

// Pixels per line: 2 when the quarter mile took 13.3 s or more, else 3.
int StepPixels(const PerformanceResults& results);
// One vertical grid line per second: 21 with the 2-pixel step, else 14.
int SecondTicks(int step);
// A wideband channel supplies the O2 trace ("O2 WB AFR") when one is preferred.
bool WidebandPreferred(const Settings& settings);

struct TracePoint {
  int x = 0;
  int rpmY = 0, speedY = 0, o2Y = 0, tpsY = 0;
  char kind = '0';  // '1' mark tick, '2' time stamp tick
};

struct TraceOptions {
  bool speedInKph = false;
  bool wideband = false;
  // The selected line shows "9" in the file; its own kind is remembered here.
  int selectedLine = -1;
  char selectedKind = '0';
};

// The points of every trace from the start line, one per line.
std::vector<TracePoint> BuildTraces(const ViewLines& lines, int startLine, int step, const TraceOptions& options);

struct CursorReadout {
  bool valid = false;
  std::string rpm, speed, o2, tps, runTime;  // as in the line, without padding
};

// The line under the cursor: start + (x - 111) / step.
int LineUnderCursor(int startLine, int step, int cursorX);
CursorReadout ReadoutAt(const ViewLines& lines, int startLine, int step, int cursorX, bool wideband);

}  // namespace vantor
