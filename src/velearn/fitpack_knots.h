#pragma once
// Knot insertion while the least-squares spline is too coarse, and the
// rational root step of the smoothing parameter search.

#include "velearn/fitpack_types.h"

namespace vantor::fitpack {

// Adds one interior knot to t (n knots, n grows by one) at the middle grid
// point of the interval with the largest residual share among those that
// still hold grid points, splitting that interval's share and point count.
// False when no interval holds a grid point any more.
bool AddKnot(const double* x, double* t, int& n, KnotIntervals& intervals);

// Three points (p, f) of f(p) - s with f1 > 0 > f3, approximated by
// r(p) = (u p + v) / (p + w): returns the zero of r and keeps the bracket
// by moving (p1, f1) or (p3, f3) to (p2, f2). p3 < 0 stands for infinity.
double RationalRoot(double& p1, double& f1, double p2, double f2, double& p3, double& f3);

}  // namespace vantor::fitpack
