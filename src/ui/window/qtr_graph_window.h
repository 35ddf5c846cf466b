#pragma once
// The "1/4 Mile Graph" window (class "QTRGRAPH"): an 800 x 600 window owned
// by the main window, drawn by QtrGraphPainter. Its keys, wheel and scroll
// bar move the Analysis table; its cursor line follows a drag.

#include <functional>
#include <memory>
#include <optional>

#include "ui/draw/qtr_graph_painter.h"
#include "ui/window/canvas_surface.h"
#include "ui/window/table_scroll.h"

namespace vantor::ui {

class QtrGraphWindow final : public WindowEvents {
 public:
  static constexpr int kScrollBarId = 1;

  // closed: the user closed it (called from its close event).
  QtrGraphWindow(Host& host, WindowHost* owner, const ViewLines& lines, const Settings& settings,
                 std::function<void(TableScroll)> scroll, std::function<void(int)> scrollTo,
                 std::function<void()> closed);
  ~QtrGraphWindow() override;

  // ShowQuarterMile: the results from the start line, redrawn.
  void ShowFrom(int startLine, int selectedLine, char selectedKind);
  // Mirrors the table's scroll bar.
  void SyncScrollBar(int maximum, int topLine);
  // Stores its corner for the next opening (it is going).
  void RememberPosition();

  const QtrGraphPainter& Painter() const { return painter_; }
  CanvasSurface& Surface() { return surface_; }
  WindowHost& Window() { return *window_; }
  // Where the window opens: the corner it had when last closed, if any.
  static std::optional<Point> RememberedPosition();

  bool OnKey(const KeyEvent& key) override;
  void OnMouse(const MouseEvent& mouse) override;
  void OnControl(const ControlEvent& event) override;
  bool OnCloseRequest() override;

 private:
  QtrGraphPainter painter_;
  CanvasSurface surface_;
  std::function<void(TableScroll)> scroll_;
  std::function<void(int)> scrollTo_;
  std::function<void()> closed_;
  std::unique_ptr<WindowHost> window_;
  bool dragging_ = false;
};

}  // namespace vantor::ui
