#include "ui/qt/analysis_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <cstdio>

#include "logs/analysis_messages.h"
#include "logs/dump_log.h"
#include "logs/remembered_path.h"
#include "ui/qt/display_buttons.h"
#include "ui/qt/qtr_graph_window.h"

namespace vantor::ui {
namespace {

constexpr int kProgressX = 11, kProgressY = 121, kProgressWidth = 750, kProgressHeight = 17;

bool IsNextControlKey(int key) {
  return key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter ||
         key == Qt::Key_Escape;
}

}  // namespace

AnalysisWindow::AnalysisWindow(AnalysisParts parts) : parts_(std::move(parts)) {}

AnalysisWindow::~AnalysisWindow() { Close(); }

QtrGraphWindow* AnalysisWindow::Graph() const { return graph_.data(); }

// ---- open and close ----

void AnalysisWindow::Open() {
  if (open_) return;
  open_ = true;
  settingsChanged_ = false;  // the table is built with the settings of now
  rememberedSource_ = parts_.sources.Select(ByteSourceId::Analysis);
  CreateControls();
  controls_[static_cast<int>(AnalysisControl::ViewLog)]->setFocus();
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
  for (std::size_t i = 0; i < kAnalysisControls.size(); ++i) {
    QWidget* control = CreateControl(kAnalysisControls[i]);
    const Rect& r = kAnalysisControls[i].rect;
    control->setGeometry(r.left, r.top, r.Width(), r.Height());
    control->installEventFilter(this);
    control->show();
    controls_[i] = control;
  }
  parts_.client.installEventFilter(this);
  SyncScrollBars();
}

QWidget* AnalysisWindow::CreateControl(const ControlSpec& spec) {
  QWidget* parent = &parts_.client;
  switch (spec.kind) {
    case ControlKind::Button: {
      auto* button = new QPushButton(spec.text, parent);
      button->setFocusPolicy(Qt::StrongFocus);
      connect(button, &QPushButton::clicked, this, [this, id = spec.id] {
        switch (id) {
          case AnalysisControl::ViewLog: ViewLog(); break;
          case AnalysisControl::DumpLog: DumpLog(); break;
          case AnalysisControl::QuarterMile: QuarterMile(); break;
          case AnalysisControl::FindMark: FindMark(); break;
          default: break;
        }
      });
      return button;
    }
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(spec.text, parent);
      box->setFocusPolicy(Qt::StrongFocus);
      UseColours(box, kCheckBoxLabel.text, kCheckBoxLabel.background);
      std::int32_t& setting =
          spec.id == AnalysisControl::SingleHeader ? parts_.settings.anaSHeader : parts_.settings.anaCsv;
      box->setChecked(setting == 1);
      connect(box, &QCheckBox::toggled, this, [&setting](bool on) { setting = on ? 1 : 0; });
      return box;
    }
    case ControlKind::VerticalScrollBar: break;
  }
  scrollBar_ = new QScrollBar(Qt::Vertical, parent);
  scrollBar_->setFocusPolicy(Qt::StrongFocus);
  RouteScrollBar(scrollBar_, [this](TableScroll move) { Scroll(move); }, [this](int line) { ScrollToLine(line); });
  return scrollBar_;
}

void AnalysisWindow::DestroyControls() {
  parts_.client.removeEventFilter(this);
  delete progress_;
  progress_ = nullptr;
  for (QWidget*& control : controls_) {
    delete control;
    control = nullptr;
  }
  scrollBar_ = nullptr;
}

// ---- painting ----

void AnalysisWindow::Face::Paint(Canvas& canvas) {
  window_.painter_.Paint(canvas);
  if (!window_.settingsChanged_) return;
  // Cleared first, so that a message box during the rebuild cannot start another.
  window_.settingsChanged_ = false;
  QMetaObject::invokeMethod(&window_, [window = &window_] { window->Rebuild(); }, Qt::QueuedConnection);
}

void AnalysisWindow::RedrawRows() {
  DrawScope scope(parts_.surface);
  painter_.PaintRows(scope.canvas());
}

void AnalysisWindow::SyncScrollBars() {
  ui::SyncScrollBar(scrollBar_, table_.MaxTop(), table_.TopLine());
  if (graph_) graph_->SyncScrollBar(table_.MaxTop(), table_.TopLine());
}

// After each move: the rows from the new top line, and the graph follows.
void AnalysisWindow::Moved() {
  SyncScrollBars();
  RedrawRows();
  if (graph_) ShowQuarterMile();
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

bool AnalysisWindow::HandleKey(int key) {
  if (!open_) return false;
  const auto move = ScrollOfKey(key, false);
  if (move) Scroll(*move);
  return move.has_value();
}

void AnalysisWindow::NextControl(bool backwards) {
  int current = -1;
  for (std::size_t i = 0; i < controls_.size(); ++i)
    if (controls_[i] && controls_[i]->hasFocus()) current = static_cast<int>(i);
  if (current < 0) current = backwards ? 0 : static_cast<int>(controls_.size()) - 1;
  if (QWidget* next = controls_[NextControlIndex(current, backwards)]) next->setFocus();
}

// ---- mouse ----

void AnalysisWindow::MouseDown(int x, int y) {
  downX_ = x;
  downY_ = y;
}

void AnalysisWindow::MouseUp(int x, int y) {
  // The release that ends a double click belongs to it: the table has moved under the mouse.
  if (releaseAfterDoubleClick_) {
    releaseAfterDoubleClick_ = false;
    return;
  }
  if (table_.SelectByClick(downX_, downY_, x, y)) RedrawRows();
}

void AnalysisWindow::DoubleClick(int x, int y) {
  releaseAfterDoubleClick_ = true;
  if (x < AnalysisTableModel::kTableLeft || x > AnalysisTableModel::kTableRight) return;
  const int line = table_.LineAt(y);
  if (line < 0 || !table_.Select(line)) return;
  QuarterMile();
}

bool AnalysisWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &parts_.client) {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        MouseDown(at.x(), at.y());
        break;
      }
      case QEvent::MouseButtonRelease: {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        MouseUp(at.x(), at.y());
        break;
      }
      case QEvent::MouseButtonDblClick: {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        DoubleClick(at.x(), at.y());
        return true;
      }
      case QEvent::Wheel:
        if (auto move = ScrollOfWheel(static_cast<QWheelEvent*>(event)->angleDelta().y())) Scroll(*move);
        return true;
      default: break;
    }
    return QObject::eventFilter(watched, event);
  }
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (IsNextControlKey(key->key())) {
      const bool backwards = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
      QMetaObject::invokeMethod(this, [this, backwards] { NextControl(backwards); }, Qt::QueuedConnection);
      return true;
    }
    if (HandleKey(key->key())) return true;
  }
  return QObject::eventFilter(watched, event);
}

// ---- commands ----

ExportHooks AnalysisWindow::Hooks() {
  ExportHooks hooks;
  hooks.message = parts_.message;
  hooks.progress.begin = [this](int maximum) {
    delete progress_;
    progress_ = new QProgressBar(&parts_.client);
    progress_->setGeometry(kProgressX, kProgressY, kProgressWidth, kProgressHeight);
    progress_->setRange(0, maximum);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->show();
    progress_->repaint();
  };
  hooks.progress.step = [this] {
    if (!progress_) return;
    progress_->setValue(progress_->value() + 1);
    progress_->repaint();
  };
  hooks.progress.end = [this] {
    delete progress_;
    progress_ = nullptr;
  };
  return hooks;
}

bool AnalysisWindow::CanRead(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file) {
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
  if (scrollBar_) scrollBar_->setFocus();
  return result == ExportResult::kOk;
}

void AnalysisWindow::DumpLog() {
  const std::string path = parts_.chooseFile(analysis_text::kChooseDumpTitle, parts_.settings.analysisPath, "");
  if (!path.empty()) DumpLogFile(path);
  if (QWidget* button = Control(AnalysisControl::DumpLog)) button->setFocus();
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
  if (!graph_) {
    graph_ = new QtrGraphWindow(view_, parts_.settings, parts_.owner,
                                [this](TableScroll move) { Scroll(move); }, [this](int line) { ScrollToLine(line); });
    graph_->setAttribute(Qt::WA_DeleteOnClose);
  }
  graph_->SyncScrollBar(table_.MaxTop(), table_.TopLine());
  graph_->ShowFrom(table_.TopLine(), table_.SelectedLine(), table_.ReplacedKind());
  graph_->show();
}

void AnalysisWindow::CloseGraph() {
  if (!graph_) return;
  graph_->close();  // remembers its place
  delete graph_.data();
}

// The settings-changed rebuild: over the same view file, the graph closed
// during it and shown again after.
void AnalysisWindow::Rebuild() {
  if (!open_ || !view_.IsOpen()) return;
  const bool graphWasOpen = graph_ != nullptr;
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
