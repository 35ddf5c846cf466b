#include "ui/draw/dial_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vantor::ui {

Point DialPoint(Point centre, double radius, double degrees) {
  const double t = (360.0 - degrees) * std::numbers::pi / 180.0;
  return Point{static_cast<int>(centre.x + radius * std::sin(t)), static_cast<int>(centre.y + radius * std::cos(t))};
}

double NeedleAngle(double value, double fullScale) {
  if (fullScale <= 0) return kZeroAngle;
  const double v = std::clamp(value, 0.0, fullScale);
  return v / fullScale * kScaleSweep + kZeroAngle;
}

DialScale SpeedoScale(int mphRange) {
  const bool halved = mphRange > 180;
  const int span = halved ? mphRange / 2 : mphRange;
  DialScale scale;
  scale.intervals = std::max(span / 10, 1);
  scale.step = kScaleSweep / scale.intervals;
  scale.labelStep = halved ? 20 : 10;
  return scale;
}

DialScale TachoScale(int rpmRange) {
  DialScale scale;
  scale.intervals = std::max(rpmRange / 1000, 1);
  scale.step = kScaleSweep / scale.intervals;
  scale.labelStep = 1;
  return scale;
}

double RedlineAngle(int redline, int rpmRange) {
  if (rpmRange <= 0) return kZeroAngle + kScaleSweep;
  return static_cast<double>(redline) / rpmRange * kScaleSweep + kZeroAngle;
}

}  // namespace vantor::ui
