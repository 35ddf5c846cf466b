#include "ui/qt/window_surface.h"

#include <QImage>
#include <QMetaObject>
#include <QPainter>
#include <QPointer>
#include <QWidget>

namespace vantor::ui {

WindowSurface::WindowSurface(QWidget* view, int width, int height) : view_(view), canvas_(width, height) {}

void WindowSurface::Blit(QPainter& painter, const QRect& area) {
  WithPixels([&](const std::uint32_t* pixels, int width, int height) {
    const QImage image(reinterpret_cast<const uchar*>(pixels), width, height, width * 4, QImage::Format_RGB32);
    painter.drawImage(area, image, area);
  });
}

Canvas& WindowSurface::Begin() {
  mutex_.lock();
  return canvas_;
}

void WindowSurface::End() {
  const Rect dirty = canvas_.TakeDirty();
  mutex_.unlock();
  if (!dirty.Empty()) PostUpdate(dirty);
}

void WindowSurface::PostUpdate(const Rect& area) {
  QPointer<QWidget> view(view_);
  const QRect rect(area.left, area.top, area.Width(), area.Height());
  // update() only queues a paint event, but it must be called on the widget's thread.
  QMetaObject::invokeMethod(view_, [view, rect] {
    if (view) view->update(rect);
  }, Qt::QueuedConnection);
}

void WindowSurface::InvalidateAll() {
  if (repaintPosted_.exchange(true)) return;
  QMetaObject::invokeMethod(view_, [this] {
    repaintPosted_ = false;
    RepaintAll();
  }, Qt::QueuedConnection);
}

void WindowSurface::RepaintAll() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (paint_) paint_(canvas_);
    canvas_.TakeDirty();
  }
  view_->update();
}

}  // namespace vantor::ui
