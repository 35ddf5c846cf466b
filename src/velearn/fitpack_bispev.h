#pragma once
// Evaluation of a bicubic grid spline on a rectangular grid of points.

#include <span>

#include "velearn/fitpack_types.h"

namespace vantor::fitpack {

// z[my * i + j] = s(x[i], y[j]); points outside the knot range are taken at
// the nearest end. x and y must be non-decreasing, at most kMaxPointsX and
// kMaxPointsY values, and z must hold x.size() * y.size() values. Returns 0,
// or kFitInvalidInput (z untouched).
int EvaluateGridSpline(const GridSpline& spline, std::span<const double> x,
                       std::span<const double> y, std::span<double> z, EvalWork& work);

}  // namespace vantor::fitpack
