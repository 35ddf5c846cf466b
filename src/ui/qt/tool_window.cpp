#include "ui/qt/tool_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

namespace vantor::ui {
namespace {

constexpr int kFlashPauseMs = 120;

}  // namespace

ToolWindow::ToolWindow(const ToolWindowLinks& links, const QString& title, int width, int height)
    : QWidget(links.mainWindow, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      links_(links),
      surface_(this, width, height) {
  setWindowTitle(title);
  setFixedSize(width, height);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void ToolWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  surface_.Blit(painter, event->rect());
}

void ToolWindow::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter: close(); return;
    default: break;
  }
  if (!(links_.passKey && links_.passKey(event))) QWidget::keyPressEvent(event);
}

void ToolWindow::closeEvent(QCloseEvent* event) {
  event->ignore();  // the owner destroys it (later: this is still on the stack)
  if (onUserClose) onUserClose();
}

void ToolWindow::TakeFocus() {
  if (links_.modalOpen && links_.modalOpen()) return;
  activateWindow();
  setFocus();
}

void ToolWindow::enterEvent(QEnterEvent* event) {
  TakeFocus();
  QWidget::enterEvent(event);
}

void ToolWindow::leaveEvent(QEvent* event) {
  MouseLeft();
  if (links_.focusMainWindow && !(links_.modalOpen && links_.modalOpen())) links_.focusMainWindow();
  QWidget::leaveEvent(event);
}

void ToolWindow::mouseMoveEvent(QMouseEvent* event) {
  if (!isActiveWindow()) TakeFocus();
  MouseMoved(event->position().toPoint().x());
}

void ToolWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) MousePressed(event->position().toPoint().x());
}

void ToolWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) MouseReleased(event->position().toPoint().x());
}

void ToolWindow::Flash() {
  QPointer<ToolWindow> self(this);
  auto step = [self](int delay, bool toTool) {
    QTimer::singleShot(delay, self, [self, toTool] {
      if (!self) return;
      if (toTool) {
        self->activateWindow();
        self->setFocus();
      } else if (self->links_.focusMainWindow) {
        self->links_.focusMainWindow();
      }
    });
  };
  step(0, true);
  step(kFlashPauseMs, false);
  step(2 * kFlashPauseMs, true);
  step(3 * kFlashPauseMs, false);
}

}  // namespace vantor::ui
