#pragma once
// Smoothing spline on a rectangular grid: bicubic, knots chosen
// automatically (always starting afresh), smoothing factor s.

#include <span>

#include "velearn/fitpack_types.h"

namespace vantor::fitpack {

struct GridFitRequest {
  std::span<const double> x;  // strictly ascending, 4..kMaxPointsX values
  std::span<const double> y;  // strictly ascending, 4..kMaxPointsY values
  std::span<const double> z;  // x.size() * y.size() values, y index inner
  double xb = 0.0;            // approximation domain, containing the grid
  double xe = 0.0;
  double yb = 0.0;
  double ye = 0.0;
  double s = 0.0;  // upper bound of the sum of squared residuals
  int nxest = kMaxKnotsX;
  int nyest = kMaxKnotsY;
  int maxit = kMaxFitIterations;
};

// The domain spanned by the grid itself.
GridFitRequest RequestOnGrid(std::span<const double> x, std::span<const double> y,
                             std::span<const double> z, double s);

// Fits the spline into out and returns the error code (FitResult). With a
// positive code out still holds the last spline computed, except for
// kFitInvalidInput.
int FitGridSpline(const GridFitRequest& request, GridSpline& out, FitWork& work);

}  // namespace vantor::fitpack
