#include "ui/draw/headless_analysis.h"

#include <filesystem>
#include <system_error>

#include "logs/remembered_path.h"
#include "ui/draw/analysis_controls.h"
#include "ui/draw/control_faces.h"

namespace vantor::ui {
namespace {

// Where the plain check box face starts its label: behind the 12-pixel box.
constexpr int kCheckBoxLabelOffset = 18;

}  // namespace

HeadlessAnalysis::HeadlessAnalysis(const Settings& settings) : settings_(settings) {}

bool HeadlessAnalysis::Load(const std::string& logPath, std::string* error) {
  std::error_code ignored;
  if (!view_.Create(std::filesystem::temp_directory_path(ignored))) {
    *error = "can not create the temporary view file";
    return false;
  }
  ExportHooks hooks;
  hooks.message = [error](const std::string& text, const std::string&) { *error = text; };
  const ExportResult result = BuildViewFile(view_, logPath, settings_, hooks);
  if (result == ExportResult::kLogOpenFailed) *error = "can not open " + logPath;
  if (result != ExportResult::kOk) return false;
  const RememberedPath chosen = SplitRememberedPath(logPath);
  settings_.analysis = chosen.full;
  settings_.analysisName = chosen.name;
  settings_.analysisPath = chosen.directory;
  table_.Reset();
  return true;
}

bool HeadlessAnalysis::PaintDisplay(int line) {
  if (line >= 0) {
    if (!table_.Select(line)) return false;
    if (line >= table_.TopLine() + AnalysisTableModel::kRows) table_.ScrollTo(line);
  }
  canvas_.FillRect(Rect{0, 0, canvas_.Width(), canvas_.Height()}, colour::kBackground);
  painter_.Paint(canvas_);
  PaintControls();
  return true;
}

bool HeadlessAnalysis::PaintGraph(int line) {
  if (!table_.Select(line)) return false;
  const int start = table_.QuarterMileStart({});
  graph_.Compute(start, table_.SelectedLine(), table_.ReplacedKind());
  graph_.Paint(canvas_);
  const int maximum = table_.MaxTop();
  DrawScrollBarFace(canvas_, qtr_layout::kScrollBar, false,
                    ScrollState{0, maximum, AnalysisTableModel::kRows, table_.TopLine()});
  return true;
}

void HeadlessAnalysis::PaintControls() {
  for (const AnalysisControlSpec& control : kAnalysisControls) {
    switch (control.kind) {
      case AnalysisControlKind::Button: DrawButtonFace(canvas_, control.rect, control.text); break;
      case AnalysisControlKind::CheckBox: {
        const bool checked = control.id == AnalysisControl::SingleHeader ? settings_.anaSHeader == 1
                                                                         : settings_.anaCsv == 1;
        DrawCheckBox(control, checked);
        break;
      }
      case AnalysisControlKind::VerticalScrollBar: {
        const int maximum = table_.MaxTop();
        DrawScrollBarFace(canvas_, control.rect, true,
                          ScrollState{0, maximum, AnalysisTableModel::kRows, table_.TopLine()});
        break;
      }
    }
  }
}

// The box from the plain face; the label in the colours the window gives it.
void HeadlessAnalysis::DrawCheckBox(const AnalysisControlSpec& control, bool checked) {
  canvas_.FillRect(control.rect, kCheckBoxLabel.background);
  DrawCheckBoxFace(canvas_, control.rect, "", checked);
  TextStyle style;
  style.colour = kCheckBoxLabel.text;
  style.background = kCheckBoxLabel.background;
  const int top = (control.rect.top + control.rect.bottom - canvas_.LineHeight(FontId::Default)) / 2;
  canvas_.Text(control.rect.left + kCheckBoxLabelOffset, top, control.text, style);
}

}  // namespace vantor::ui
