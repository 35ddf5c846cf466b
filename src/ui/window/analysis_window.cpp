#include "ui/window/analysis_window.h"

#include <cstdio>

#include "logs/analysis_messages.h"
#include "logs/dump_log.h"
#include "logs/remembered_path.h"
#include "ui/window/window_controls.h"

namespace vantor::ui {
namespace {

constexpr int kScrollBarId = AnalysisWindow::kFirstControl + static_cast<int>(AnalysisControl::ScrollBar);

bool IsNextControlKey(Key key) { return key == Key::Tab || key == Key::Enter || key == Key::Escape; }

}  // namespace

AnalysisWindow::AnalysisWindow(AnalysisParts parts) : parts_(std::move(parts)) {}

AnalysisWindow::~AnalysisWindow() { Close(); }

QtrGraphWindow* AnalysisWindow::Graph() const { return graphClosed_ ? nullptr : graph_.get(); }

// ---- open and close ----

void AnalysisWindow::Open() {
  if (open_) return;
  open_ = true;
  settingsChanged_ = false;  // the table is built with the settings of now
  rememberedSource_ = parts_.sources.Select(ByteSourceId::Analysis);
  CreateControls();
  parts_.window.Focus(ControlId(AnalysisControl::ViewLog), false);
  parts_.surface.InvalidateAll();
}

void AnalysisWindow::Close() {
  if (!open_) return;
  open_ = false;
  CloseGraph();  // before the view file it reads
  DestroyControls();
  view_.Close();
  table_.ClearSelection();
  if (rememberedSource_) parts_.sources.Select(*rememberedSource_);
  rememberedSource_.reset();
}

void AnalysisWindow::CreateControls() {
  for (const AnalysisControlSpec& control : kAnalysisControls) {
    ControlSpec spec;
    spec.id = ControlId(control.id);
    spec.text = control.text;
    spec.rect = control.rect;
    switch (control.kind) {
      case AnalysisControlKind::Button: spec.kind = ControlKind::Button; break;
      case AnalysisControlKind::CheckBox:
        spec.kind = ControlKind::CheckBox;
        spec.colours = ControlColours{kCheckBoxLabel.text, kCheckBoxLabel.background, true, {}};
        break;
      case AnalysisControlKind::VerticalScrollBar: spec.kind = ControlKind::ScrollBar; break;
    }
    parts_.window.CreateControl(spec);
    if (control.id == AnalysisControl::SingleHeader) parts_.window.SetChecked(spec.id, parts_.settings.anaSHeader == 1);
    if (control.id == AnalysisControl::CreateCsv) parts_.window.SetChecked(spec.id, parts_.settings.anaCsv == 1);
  }
  SyncScrollBars();
}

void AnalysisWindow::DestroyControls() {
  if (progress_) parts_.window.DestroyControl(kProgress);
  progress_ = false;
  for (const auto& control : kAnalysisControls) parts_.window.DestroyControl(ControlId(control.id));
}

// ---- painting ----

void AnalysisWindow::Face::Paint(Canvas& canvas) {
  window_.painter_.Paint(canvas);
  if (!window_.settingsChanged_) return;
  // Cleared first, so that a message box during the rebuild cannot start another.
  window_.settingsChanged_ = false;
  window_.parts_.host.Post([window = &window_] { window->Rebuild(); });
}

void AnalysisWindow::RedrawRows() {
  DrawScope scope(parts_.surface);
  painter_.PaintRows(scope.canvas());
}

void AnalysisWindow::SyncScrollBars() {
  if (open_) ui::SyncScrollBar(parts_.window, kScrollBarId, table_.MaxTop(), table_.TopLine());
  if (QtrGraphWindow* graph = Graph()) graph->SyncScrollBar(table_.MaxTop(), table_.TopLine());
}

// After each move: the rows from the new top line, and the graph follows.
void AnalysisWindow::Moved() {
  SyncScrollBars();
  RedrawRows();
  if (Graph()) ShowQuarterMile();
}

// ---- moves ----

void AnalysisWindow::Scroll(TableScroll move) {
  switch (move) {
    case TableScroll::LineUp: table_.LineUp(); break;
    case TableScroll::LineDown: table_.LineDown(); break;
    case TableScroll::PageUp: table_.PageUp(); break;
    case TableScroll::PageDown: table_.PageDown(); break;
    case TableScroll::Top: table_.Home(); break;
    case TableScroll::Bottom: table_.End(); break;
  }
  Moved();
}

void AnalysisWindow::ScrollToLine(int line) {
  table_.ScrollTo(line);
  Moved();
}

// The controls post a next-control request on TAB, ENTER and ESC; the table keys scroll.
bool AnalysisWindow::OnKey(const KeyEvent& key) {
  if (!open_ || !key.press) return false;
  if (key.control != 0 && IsNextControlKey(key.key)) {
    const bool backwards = key.shift;
    parts_.host.Post([this, backwards] { NextControl(backwards); });
    return true;
  }
  const auto move = ScrollOfKey(key.key, false);
  if (move) Scroll(*move);
  return move.has_value();
}

void AnalysisWindow::NextControl(bool backwards) {
  if (!open_) return;
  const int focused = parts_.window.FocusedControl() - kFirstControl;
  const int count = static_cast<int>(kAnalysisControls.size());
  int current = focused >= 0 && focused < count ? focused : -1;
  if (current < 0) current = backwards ? 0 : count - 1;
  parts_.window.Focus(kFirstControl + NextControlIndex(current, backwards), false);
}

bool AnalysisWindow::OnControl(const ControlEvent& event) {
  if (!open_ || event.id < kFirstControl || event.id >= kFirstControl + static_cast<int>(kAnalysisControls.size()))
    return false;
  if (event.id == kScrollBarId) {
    if (event.action != ControlAction::Scrolled) return true;
    if (event.scroll == ScrollRequest::Track)
      ScrollToLine(event.value);
    else if (auto move = ScrollOfRequest(event.scroll))
      Scroll(*move);
    return true;
  }
  if (event.action != ControlAction::Clicked) return true;
  switch (static_cast<AnalysisControl>(event.id - kFirstControl)) {
    case AnalysisControl::ViewLog: ViewLog(); break;
    case AnalysisControl::DumpLog: DumpLog(); break;
    case AnalysisControl::QuarterMile: QuarterMile(); break;
    case AnalysisControl::FindMark: FindMark(); break;
    case AnalysisControl::SingleHeader: parts_.settings.anaSHeader = event.value ? 1 : 0; break;
    case AnalysisControl::CreateCsv: parts_.settings.anaCsv = event.value ? 1 : 0; break;
    case AnalysisControl::ScrollBar: break;
  }
  return true;
}

// ---- mouse ----

void AnalysisWindow::OnMouse(const MouseEvent& mouse) {
  if (!open_) return;
  switch (mouse.action) {
    case MouseAction::Press:
      downX_ = mouse.at.x;
      downY_ = mouse.at.y;
      break;
    case MouseAction::Release:
      // The release that ends a double click belongs to it: the table has moved under the mouse.
      if (releaseAfterDoubleClick_) {
        releaseAfterDoubleClick_ = false;
        break;
      }
      if (table_.SelectByClick(downX_, downY_, mouse.at.x, mouse.at.y)) RedrawRows();
      break;
    case MouseAction::DoubleClick: {
      releaseAfterDoubleClick_ = true;
      if (mouse.at.x < AnalysisTableModel::kTableLeft || mouse.at.x > AnalysisTableModel::kTableRight) break;
      const int line = table_.LineAt(mouse.at.y);
      if (line >= 0 && table_.Select(line)) QuarterMile();
      break;
    }
    case MouseAction::Wheel:
      if (auto move = ScrollOfWheel(mouse.wheel)) Scroll(*move);
      break;
    default: break;
  }
}

// ---- commands ----

ExportHooks AnalysisWindow::Hooks() {
  ExportHooks hooks;
  hooks.message = parts_.message;
  hooks.progress.begin = [this](int maximum) {
    if (progress_) parts_.window.DestroyControl(kProgress);
    parts_.window.CreateControl(Control(kProgress, ControlKind::ProgressBar, "", 11, 121, 750, 17));
    parts_.window.SetRange(kProgress, 0, maximum, 1);
    parts_.window.SetValue(kProgress, 0);
    progress_ = true;
  };
  hooks.progress.step = [this] {
    if (progress_) parts_.window.SetValue(kProgress, parts_.window.Value(kProgress) + 1);
  };
  hooks.progress.end = [this] {
    if (progress_) parts_.window.DestroyControl(kProgress);
    progress_ = false;
  };
  return hooks;
}

bool AnalysisWindow::CanRead(const std::string& path) {
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    std::fclose(file);
    return true;
  }
  if (parts_.message) parts_.message(analysis_text::kCanNotOpenLog, analysis_text::kFileOpenError);
  return false;
}

void AnalysisWindow::ViewLog() {
  const Settings& s = parts_.settings;
  const std::string path = parts_.chooseFile(analysis_text::kChooseAnalysisTitle, s.analysisPath, s.analysisName);
  if (!path.empty()) ViewLogFile(path);
}

bool AnalysisWindow::ViewLogFile(const std::string& path) {
  if (!CanRead(path)) return false;
  CloseGraph();
  view_.Close();
  const RememberedPath chosen = SplitRememberedPath(path);
  parts_.settings.analysis = chosen.full;
  parts_.settings.analysisName = chosen.name;
  parts_.settings.analysisPath = chosen.directory;
  table_.Reset();
  if (!view_.Create(parts_.viewDirectory)) {
    if (parts_.message) parts_.message(analysis_text::kTemporaryFileFailed, analysis_text::kFileOpenError);
    parts_.surface.InvalidateAll();
    return false;
  }
  {
    DrawScope scope(parts_.surface);
    AnalysisPainter::ClearTable(scope.canvas());
  }
  const ExportResult result = BuildViewFile(view_, path, parts_.settings, Hooks());
  table_.Reset();
  SyncScrollBars();
  parts_.surface.InvalidateAll();
  if (open_) parts_.window.Focus(kScrollBarId, false);
  return result == ExportResult::kOk;
}

void AnalysisWindow::DumpLog() {
  const std::string path = parts_.chooseFile(analysis_text::kChooseDumpTitle, parts_.settings.analysisPath, "");
  if (!path.empty()) DumpLogFile(path);
  if (open_) parts_.window.Focus(ControlId(AnalysisControl::DumpLog), false);
}

ExportResult AnalysisWindow::DumpLogFile(const std::string& path) {
  if (!CanRead(path)) return ExportResult::kLogOpenFailed;
  const std::string output = DumpOutputPath(path, parts_.settings.anaCsv == 1);
  return vantor::DumpLog(path, output, parts_.settings, Hooks());
}

void AnalysisWindow::FindMark() {
  if (table_.FindNextMark(parts_.message)) Moved();
}

void AnalysisWindow::QuarterMile() {
  if (table_.QuarterMileStart(parts_.message) < 0) return;
  SyncScrollBars();
  RedrawRows();
  ShowQuarterMile();
}

// ShowQuarterMile: from the table's top line; the window is created when it does not exist.
void AnalysisWindow::ShowQuarterMile() {
  if (!Graph()) {
    graph_.reset();
    graphClosed_ = false;
    graph_ = std::make_unique<QtrGraphWindow>(
        parts_.host, &parts_.window, view_, parts_.settings, [this](TableScroll move) { Scroll(move); },
        [this](int line) { ScrollToLine(line); },
        [this] {
          graphClosed_ = true;
          parts_.host.Post([this] {
            if (graphClosed_) graph_.reset();
            graphClosed_ = false;
          });
        });
  }
  graph_->SyncScrollBar(table_.MaxTop(), table_.TopLine());
  graph_->ShowFrom(table_.TopLine(), table_.SelectedLine(), table_.ReplacedKind());
}

void AnalysisWindow::CloseGraph() {
  if (QtrGraphWindow* graph = Graph()) graph->RememberPosition();
  graph_.reset();
  graphClosed_ = false;
}

// The settings-changed rebuild: over the same view file, the graph closed
// during it and shown again after.
void AnalysisWindow::Rebuild() {
  if (!open_ || !view_.IsOpen()) return;
  const bool graphWasOpen = Graph() != nullptr;
  CloseGraph();
  {
    DrawScope scope(parts_.surface);
    AnalysisPainter::ClearTable(scope.canvas());
  }
  table_.Rebuild(parts_.settings.analysis, parts_.settings, Hooks());
  SyncScrollBars();
  parts_.surface.InvalidateAll();
  if (graphWasOpen && table_.LineCount() > 0) ShowQuarterMile();
}

}  // namespace vantor::ui
