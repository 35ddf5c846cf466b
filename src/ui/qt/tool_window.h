#pragma once
// ToolWindow: a small modeless window beside the main window, drawn through
// its own back-buffer. The mouse over it gives it the focus (unless a modal
// dialog is up); leaving it gives the focus back to the main window. Typed
// keys go to the main window's key handling; Enter and Esc close it.

#include <QWidget>

#include <functional>

#include "ui/qt/window_surface.h"

namespace vantor::ui {

struct ToolWindowLinks {
  QWidget* mainWindow = nullptr;
  std::function<bool()> modalOpen;             // a modal dialog of the program is up
  std::function<bool(QKeyEvent*)> passKey;     // the main window's keys
  std::function<void()> focusMainWindow;
};

class ToolWindow : public QWidget {
  Q_OBJECT
 public:
  ToolWindow(const ToolWindowLinks& links, const QString& title, int width, int height);

  WindowSurface& Surface() { return surface_; }
  // Called when the user closes it (Enter, Esc or the close box), before it goes.
  std::function<void()> onUserClose;
  // Focus to it, to the main window and to it again, 120 ms apart, then back.
  void Flash();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

  virtual void MouseMoved(int) {}
  virtual void MousePressed(int) {}
  virtual void MouseReleased(int) {}
  virtual void MouseLeft() {}

 private:
  void TakeFocus();

  ToolWindowLinks links_;
  WindowSurface surface_;
};

}  // namespace vantor::ui
