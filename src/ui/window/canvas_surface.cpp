#include "ui/window/canvas_surface.h"

namespace vantor::ui {

CanvasSurface::CanvasSurface(Host& host, int width, int height)
    : host_(host), canvas_(width, height), self_(std::make_shared<CanvasSurface*>(this)) {}

void CanvasSurface::Attach(WindowHost* window) { window_ = window; }

Canvas& CanvasSurface::Begin() {
  mutex_.lock();
  return canvas_;
}

void CanvasSurface::End() {
  const Rect dirty = canvas_.TakeDirty();
  mutex_.unlock();
  if (WindowHost* window = window_.load(); window && !dirty.Empty()) window->Invalidate(dirty);
}

void CanvasSurface::InvalidateAll() {
  if (repaintPosted_.exchange(true)) return;
  host_.Post([weak = std::weak_ptr<CanvasSurface*>(self_)] {
    if (auto alive = weak.lock()) {
      (*alive)->repaintPosted_ = false;
      (*alive)->RepaintAll();
    }
  });
}

void CanvasSurface::RepaintAll() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (paint_) paint_(canvas_);
    canvas_.TakeDirty();
  }
  if (WindowHost* window = window_.load()) window->Invalidate(Rect{0, 0, canvas_.Width(), canvas_.Height()});
}

void CanvasSurface::ReadPixels(const std::function<void(const std::uint32_t*, int, int)>& read) {
  std::lock_guard<std::mutex> lock(mutex_);
  read(canvas_.Pixels(), canvas_.Width(), canvas_.Height());
}

}  // namespace vantor::ui
