#pragma once
// The "1/4 Mile Graph" window (class "QTRGRAPH"): an 800 x 600 top-level
// window owned by the main window, drawn by QtrGraphPainter into its own
// back-buffer. Its keys, wheel and scroll bar move the Analysis table.

#include <QPoint>
#include <QWidget>

#include <functional>
#include <optional>

#include "ui/draw/qtr_graph_painter.h"
#include "ui/draw/raster_canvas.h"
#include "ui/qt/table_scroll.h"

class QScrollBar;

namespace vantor::ui {

class QtrGraphWindow final : public QWidget {
  Q_OBJECT
 public:
  QtrGraphWindow(const ViewLines& lines, const Settings& settings, QWidget* owner,
                 std::function<void(TableScroll)> scroll, std::function<void(int)> scrollTo);
  ~QtrGraphWindow() override;

  // ShowQuarterMile: the results from the start line, redrawn.
  void ShowFrom(int startLine, int selectedLine, char selectedKind);
  // Mirrors the table's scroll bar.
  void SyncScrollBar(int maximum, int topLine);

  const QtrGraphPainter& Painter() const { return painter_; }
  const RasterCanvas& Canvas() const { return canvas_; }
  QScrollBar* ScrollBar() const { return scrollBar_; }
  // Where the window opens: the corner it had when last closed, if any.
  static std::optional<QPoint> RememberedPosition();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Redraw();

  QtrGraphPainter painter_;
  RasterCanvas canvas_;
  QScrollBar* scrollBar_;
  std::function<void(TableScroll)> scroll_;
  bool dragging_ = false;
};

}  // namespace vantor::ui
