#include "ui/window/qtr_graph_window.h"

#include "ui/window/window_controls.h"

namespace vantor::ui {
namespace {

std::optional<Point> rememberedPosition;

bool InsidePlot(Point point) { return point.x >= 110 && point.x <= 794 && point.y >= 120 && point.y <= 504; }

}  // namespace

std::optional<Point> QtrGraphWindow::RememberedPosition() { return rememberedPosition; }

QtrGraphWindow::QtrGraphWindow(Host& host, WindowHost* owner, const ViewLines& lines, const Settings& settings,
                               std::function<void(TableScroll)> scroll, std::function<void(int)> scrollTo,
                               std::function<void()> closed)
    : painter_(lines, settings),
      surface_(host, qtr_layout::kWidth, qtr_layout::kHeight),
      scroll_(std::move(scroll)),
      scrollTo_(std::move(scrollTo)),
      closed_(std::move(closed)) {
  window_ = host.CreateWindow(WindowSpec{"1/4 Mile Graph", qtr_layout::kWidth, qtr_layout::kHeight, WindowKind::Popup, {}},
                              *this, &surface_, owner);
  surface_.Attach(window_.get());
  surface_.SetPainter([this](Canvas& canvas) { painter_.Paint(canvas); });
  const Rect bar = qtr_layout::kScrollBar;
  window_->CreateControl(Control(kScrollBarId, ControlKind::ScrollBar, "", bar.left, bar.top, bar.Width(),
                                 bar.Height(), control_style::kHorizontal | control_style::kNoFocus));
  if (rememberedPosition) {
    window_->Move(*rememberedPosition);
  } else {
    const Point desk = host.DesktopSize();
    window_->Move(Point{desk.x / 2 - 380, desk.y / 2 - 280});
  }
}

QtrGraphWindow::~QtrGraphWindow() { surface_.Attach(nullptr); }

void QtrGraphWindow::ShowFrom(int startLine, int selectedLine, char selectedKind) {
  painter_.Compute(startLine, selectedLine, selectedKind);
  surface_.RepaintAll();
  window_->Show();
}

void QtrGraphWindow::SyncScrollBar(int maximum, int topLine) { ui::SyncScrollBar(*window_, kScrollBarId, maximum, topLine); }

void QtrGraphWindow::RememberPosition() { rememberedPosition = window_->Position(); }

bool QtrGraphWindow::OnKey(const KeyEvent& key) {
  if (!key.press) return false;
  if (auto move = ScrollOfKey(key.key, true)) {
    scroll_(*move);
    return true;
  }
  return false;
}

void QtrGraphWindow::OnMouse(const MouseEvent& mouse) {
  switch (mouse.action) {
    case MouseAction::Wheel:
      if (auto move = ScrollOfWheel(mouse.wheel)) scroll_(*move);
      break;
    case MouseAction::Press: dragging_ = mouse.left && painter_.NearCursor(mouse.at.x); break;
    case MouseAction::Move:
      if (dragging_ && mouse.left && InsidePlot(mouse.at)) {
        DrawScope scope(surface_);
        painter_.MoveCursor(scope.canvas(), mouse.at.x);
      }
      break;
    case MouseAction::Release: dragging_ = false; break;
    default: break;
  }
}

void QtrGraphWindow::OnControl(const ControlEvent& event) {
  if (event.id != kScrollBarId || event.action != ControlAction::Scrolled) return;
  if (event.scroll == ScrollRequest::Track)
    scrollTo_(event.value);
  else if (auto move = ScrollOfRequest(event.scroll))
    scroll_(*move);
}

// The user closed it: its corner is kept; the owner lets it go.
bool QtrGraphWindow::OnCloseRequest() {
  RememberPosition();
  if (closed_) closed_();
  return true;
}

}  // namespace vantor::ui
