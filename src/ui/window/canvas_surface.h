#pragma once
// A window's picture: its software canvas behind one lock. Whoever draws
// (the user-interface thread painting, the display thread drawing a frame)
// takes the lock; the host presents changed areas from the pixels.

#include <atomic>
#include <functional>
#include <mutex>

#include "ui/draw/draw_surface.h"
#include "ui/draw/raster_canvas.h"
#include "ui/window/window_host.h"

namespace vantor::ui {

class CanvasSurface final : public DrawSurface, public PixelSource {
 public:
  CanvasSurface(Host& host, int width, int height);

  // The window that presents this picture (null: none yet).
  void Attach(WindowHost* window);
  // User-interface thread: what a full repaint draws (installed once).
  void SetPainter(std::function<void(Canvas&)> paint) { paint_ = std::move(paint); }
  // User-interface thread: draws everything now.
  void RepaintAll();

  Canvas& Begin() override;
  void End() override;
  void InvalidateAll() override;  // any thread: a full repaint as soon as the window can
  void ReadPixels(const std::function<void(const std::uint32_t*, int, int)>& read) override;

 private:
  Host& host_;
  std::mutex mutex_;
  RasterCanvas canvas_;
  std::atomic<WindowHost*> window_{nullptr};
  std::function<void(Canvas&)> paint_;
  std::atomic<bool> repaintPosted_{false};
  // Posted repaints check it: the surface may go before they run.
  std::shared_ptr<CanvasSurface*> self_;
};

}  // namespace vantor::ui
