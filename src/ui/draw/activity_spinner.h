#pragma once
// The activity indicator at the top right: 12 spokes, one of them lit, moved
// on every 4th live frame.

#include <array>

#include "ui/canvas.h"

namespace vantor::ui {

class ActivitySpinner {
 public:
  ActivitySpinner();
  struct Spoke {
    Point outer, inner;
  };
  const std::array<Spoke, 12>& Spokes() const { return spokes_; }
  int Current() const { return current_; }

  // All spokes in the dim colour (the status panel, while no playback runs).
  void DrawAll(Canvas& canvas) const;
  // Counts a live (not playback) frame; true when this frame moves the spinner.
  bool CountFrame();
  // Dims the current spoke, advances and lights the next.
  void Step(Canvas& canvas);

 private:
  std::array<Spoke, 12> spokes_{};
  int current_ = 0;
  int frameCounter_ = 0;
};

}  // namespace vantor::ui
