#pragma once
// The window's back-buffer: an 800 x 600 software canvas behind one lock.
// Whoever draws (the user-interface thread painting, the display thread
// drawing a frame) takes the lock; the widget only copies changed areas of
// the buffer to the screen. Updates are posted to the widget's thread.

#include <QObject>
#include <QRect>

#include <atomic>
#include <functional>
#include <mutex>

#include "ui/draw/draw_surface.h"
#include "ui/draw/raster_canvas.h"

class QPainter;
class QWidget;

namespace vantor::ui {

class WindowSurface final : public DrawSurface {
 public:
  explicit WindowSurface(QWidget* view, int width = 800, int height = 600);

  Canvas& Begin() override;
  void End() override;
  void InvalidateAll() override;

  // User-interface thread: what a full repaint draws (installed once).
  void SetPainter(std::function<void(Canvas&)> paint) { paint_ = std::move(paint); }
  // User-interface thread: redraws the whole buffer now.
  void RepaintAll();
  // User-interface thread: copies the given area of the buffer (paint event).
  // User-interface thread: draws the given area of the buffer (paint event).
  void Blit(QPainter& painter, const QRect& area);
  template <typename Blit>
  void WithPixels(Blit blit) {
    std::lock_guard<std::mutex> lock(mutex_);
    blit(canvas_.Pixels(), canvas_.Width(), canvas_.Height());
  }

 private:
  void PostUpdate(const Rect& area);

  QWidget* view_;
  std::mutex mutex_;
  RasterCanvas canvas_;
  std::function<void(Canvas&)> paint_;
  std::atomic<bool> repaintPosted_{false};
};

}  // namespace vantor::ui
