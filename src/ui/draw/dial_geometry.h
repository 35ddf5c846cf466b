#pragma once
// The dials' geometry: angles d in degrees, 45 the zero mark at the lower
// left, rising clockwise over the top to full scale, 315, at the lower right.

#include "ui/canvas.h"

namespace vantor::ui {

constexpr double kNeedleRadius = 63.08;
constexpr double kZeroAngle = 45.0;
constexpr double kScaleSweep = 270.0;

// (cx + r sin(360 - d), cy + r cos(360 - d)), each truncated toward zero.
Point DialPoint(Point centre, double radius, double degrees);
// The needle angle of value on a dial of full scale range; values above full
// scale rest at full scale, negative ones at zero.
double NeedleAngle(double value, double fullScale);

struct DialScale {
  int intervals = 0;     // n: major intervals
  double step = 0.0;     // degrees between major ticks
  int labelStep = 0;     // value between labels
};

// Speedometer: S = range up to 180, else range / 2; n = S / 10 intervals,
// labelled in 10s (in 20s above 180).
DialScale SpeedoScale(int mphRange);
// Tachometer: one interval per 1000 rpm, labelled in thousands.
DialScale TachoScale(int rpmRange);
// The red zone's start angle; at or beyond 315 there is no red zone.
double RedlineAngle(int redline, int rpmRange);

}  // namespace vantor::ui
