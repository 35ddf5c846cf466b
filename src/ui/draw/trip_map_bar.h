#pragma once
// The trip display's MAP bar: one record per MAP sensor type (1, 2 or 3 bar),
// a white bar on the background colour with its scale at the left.

#include <cstdint>

#include "ui/canvas.h"

namespace vantor::ui {

struct TripMapBar {
  int offset;  // frame byte
  double scale, add;
  double min, max, step;
  int x, y, height;
};

// The record of a MAP sensor type; 1-bar for any other value.
const TripMapBar& TripMapBarFor(int mapSensorBar);
double TripMapValue(const TripMapBar& bar, const std::uint8_t* frame);

// Frame, inside, scale, captions and the bar up to lastTop.
void DrawTripBarFace(Canvas& canvas, const TripMapBar& bar, int lastTop);
// Moves the bar from lastTop to the value's top, drawing only the rows that change.
void DrawTripBarLevel(Canvas& canvas, const TripMapBar& bar, int& lastTop, double value);

}  // namespace vantor::ui
