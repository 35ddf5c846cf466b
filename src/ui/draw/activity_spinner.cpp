#include "ui/draw/activity_spinner.h"

#include <cmath>
#include <numbers>

namespace vantor::ui {

ActivitySpinner::ActivitySpinner() {
  for (int k = 0; k < 12; ++k) {
    const double t = (360.0 - (1 + 30 * k)) * std::numbers::pi / 180.0;
    spokes_[k].outer = Point{static_cast<int>(740 + 20 * std::sin(t)), static_cast<int>(40 + 20 * std::cos(t))};
    spokes_[k].inner = Point{static_cast<int>(740 + 8 * std::sin(t)), static_cast<int>(40 + 8 * std::cos(t))};
  }
}

void ActivitySpinner::DrawAll(Canvas& canvas) const {
  for (const Spoke& spoke : spokes_) canvas.Line(spoke.outer, spoke.inner, Pen{colour::kDim, 3});
}

bool ActivitySpinner::CountFrame() {
  if (++frameCounter_ < 4) return false;
  frameCounter_ = 0;
  return true;
}

void ActivitySpinner::Step(Canvas& canvas) {
  canvas.Line(spokes_[current_].outer, spokes_[current_].inner, Pen{colour::kDim, 3});
  current_ = (current_ + 1) % 12;
  canvas.Line(spokes_[current_].outer, spokes_[current_].inner, Pen{colour::kText, 3});
}

}  // namespace vantor::ui
