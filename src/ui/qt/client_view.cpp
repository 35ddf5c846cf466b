#include "ui/qt/client_view.h"

#include <QImage>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>

namespace vantor::ui {

ClientView::ClientView(QWidget* parent) : QWidget(parent), surface_(this) {
  setFixedSize(800, 600);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
}

void ClientView::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // Only the areas asked for: separate small updates stay separate.
  for (const QRect& area : event->region()) surface_.Blit(painter, area);
}

void ClientView::keyPressEvent(QKeyEvent* event) {
  if (!(onKey && onKey(event))) QWidget::keyPressEvent(event);
}

void ClientView::mouseMoveEvent(QMouseEvent* event) {
  if (onMouseMove) onMouseMove();
  QWidget::mouseMoveEvent(event);
}

}  // namespace vantor::ui
