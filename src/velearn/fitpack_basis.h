#pragma once
// B-spline values and the jumps of their third derivative at the knots.

#include <span>

#include "velearn/fitpack_types.h"

namespace vantor::fitpack {

// The kOrder B-splines that are non-zero at x, for t[l] <= x < t[l + 1]
// (l counted from 0). Coinciding knots contribute zero instead of dividing by 0.
void BSplineValues(const double* t, int l, double x, double (&h)[kOrder]);

// Row r of b holds, for the interior knot t[r + kOrder], the jump of the third
// derivative of the kBand B-splines that change there, scaled so that the
// rows are comparable whatever the knot spacing. n is the number of knots.
void DerivativeJumps(const double* t, int n, std::span<std::array<double, kBand>> b);

}  // namespace vantor::fitpack
