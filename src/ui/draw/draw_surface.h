#pragma once
// Where a display draws between two frames. The window's surface serialises
// the user-interface thread's painting and the display thread's incremental
// drawing with one lock; Begin takes it, End releases it and shows the change.

#include "ui/canvas.h"

namespace vantor::ui {

class DrawSurface {
 public:
  virtual ~DrawSurface() = default;
  virtual Canvas& Begin() = 0;
  virtual void End() = 0;
  // Asks for a full repaint (face and values) as soon as the window can.
  virtual void InvalidateAll() = 0;
};

class DrawScope {
 public:
  explicit DrawScope(DrawSurface& surface) : surface_(surface), canvas_(surface.Begin()) {}
  ~DrawScope() { surface_.End(); }
  DrawScope(const DrawScope&) = delete;
  DrawScope& operator=(const DrawScope&) = delete;
  Canvas& canvas() { return canvas_; }

 private:
  DrawSurface& surface_;
  Canvas& canvas_;
};

}  // namespace vantor::ui
