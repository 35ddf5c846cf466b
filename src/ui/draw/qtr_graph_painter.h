#pragma once
// The "1/4 Mile Graph" client area: the results of the run measured from a
// table line, the plot with its grid, scales and traces, the mark and stamp
// ticks, and the cursor line with the readout of the line under it.

#include <string>
#include <vector>

#include "logs/analysis_view_file.h"
#include "logs/quarter_mile.h"
#include "settings/settings.h"
#include "ui/canvas.h"

namespace vantor::ui {

namespace qtr_layout {
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr Rect kPlotFrame{110, 120, 794, 506};
constexpr Rect kScrollBar{110, 507, 794, 525};
constexpr int kGrabSlack = 5;
}  // namespace qtr_layout

// The cursor line stays inside the plot.
int ClampCursor(int x);

class QtrGraphPainter {
 public:
  QtrGraphPainter(const ViewLines& lines, const Settings& settings);

  // ShowQuarterMile's computation from the start line (the table's top line).
  // The selected line reads "9" in the file; its own kind is given here.
  void Compute(int startLine, int selectedLine, char selectedKind);
  // The whole client area.
  void Paint(Canvas& canvas) const;
  // Moves the cursor line and redraws it with its readout.
  void MoveCursor(Canvas& canvas, int x);
  bool NearCursor(int x) const;

  int CursorX() const { return cursorX_; }
  int StartLine() const { return start_; }
  int Step() const { return step_; }
  const PerformanceResults& Results() const { return results_; }

 private:
  void PaintResults(Canvas& canvas) const;
  void PaintGrid(Canvas& canvas) const;
  void PaintScales(Canvas& canvas) const;
  void PaintTraces(Canvas& canvas) const;
  void PaintReadout(Canvas& canvas) const;
  void InvertCursor(Canvas& canvas) const;
  bool Wideband() const;

  const ViewLines& lines_;
  const Settings& settings_;
  int start_ = -1;
  int step_ = 3;
  int cursorX_ = qtr_graph::kCursorStart;
  PerformanceResults results_;
  std::vector<TracePoint> points_;
};

}  // namespace vantor::ui
