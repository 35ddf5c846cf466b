#pragma once
// The smoothing spline for one fixed set of knots and one smoothing
// parameter p, solved direction by direction with Givens rotations.

#include <span>

#include "velearn/fitpack_types.h"

namespace vantor::fitpack {

// Grid values z[my * i + j] at the points (x[i], y[j]).
struct GridView {
  std::span<const double> x;
  std::span<const double> y;
  std::span<const double> z;
};

// p <= 0 gives the least-squares spline on the knots of spline; p > 0 adds
// the third-derivative jumps at the interior knots with weight 1/p. Writes the
// coefficients and fp into spline and each knot interval's share of the
// squared residuals into fpx and fpy (a point on a knot counts half to each
// side). work keeps the parts that do not change while only p changes.
void SolveOnKnots(const GridView& grid, double p, GridSpline& spline, SolveWork& work,
                  double* fpx, double* fpy);

}  // namespace vantor::fitpack
