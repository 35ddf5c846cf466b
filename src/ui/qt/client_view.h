#pragma once
// The 800 x 600 client area: shows the window surface and hands keys and
// mouse movement to the main window.

#include <QWidget>

#include <functional>

#include "ui/qt/window_surface.h"

namespace vantor::ui {

class ClientView final : public QWidget {
  Q_OBJECT
 public:
  explicit ClientView(QWidget* parent = nullptr);
  WindowSurface& Surface() { return surface_; }

  // Returns true when the key was used.
  std::function<bool(QKeyEvent*)> onKey;
  std::function<void()> onMouseMove;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  // TAB is a key of the window (the data log mark), not focus movement.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  WindowSurface surface_;
};

}  // namespace vantor::ui
