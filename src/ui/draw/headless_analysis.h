#pragma once
// The Analysis display and the "1/4 Mile Graph" rendered without a window:
// the same view file, table model and painters as the window, drawing into a
// software canvas, with plain faces for the controls. Used for screenshots.

#include <string>

#include "logs/analysis_table_model.h"
#include "logs/analysis_view_file.h"
#include "ui/draw/analysis_controls.h"
#include "settings/settings.h"
#include "ui/draw/analysis_painter.h"
#include "ui/draw/qtr_graph_painter.h"
#include "ui/draw/raster_canvas.h"

namespace vantor::ui {

class HeadlessAnalysis {
 public:
  explicit HeadlessAnalysis(const Settings& settings);
  HeadlessAnalysis(const HeadlessAnalysis&) = delete;
  HeadlessAnalysis& operator=(const HeadlessAnalysis&) = delete;

  // Builds the table of the log; false with the message when it cannot.
  bool Load(const std::string& logPath, std::string* error);
  int LineCount() const { return table_.LineCount(); }

  // The display with line selected (-1: none), the table scrolled to show it.
  bool PaintDisplay(int line);
  // The graph window's client area, its results computed from line.
  bool PaintGraph(int line);

  const RasterCanvas& Canvas() const { return canvas_; }
  const AnalysisTableModel& Table() const { return table_; }
  const QtrGraphPainter& Graph() const { return graph_; }
  const ViewLines& Lines() const { return view_; }

 private:
  void PaintControls();
  void DrawCheckBox(const AnalysisControlSpec& control, bool checked);

  Settings settings_;
  AnalysisViewFile view_;
  AnalysisTableModel table_{view_};
  AnalysisPainter painter_{table_, settings_};
  QtrGraphPainter graph_{view_, settings_};
  RasterCanvas canvas_{800, 600};
};

}  // namespace vantor::ui
