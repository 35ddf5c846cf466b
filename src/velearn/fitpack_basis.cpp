#include "velearn/fitpack_basis.h"

namespace vantor::fitpack {

// De Boor-Cox recurrence, raising the degree one step at a time.
void BSplineValues(const double* t, int l, double x, double (&h)[kOrder]) {
  double previous[kOrder];
  h[0] = 1.0;
  for (int j = 1; j <= kDegree; ++j) {
    for (int i = 0; i < j; ++i) previous[i] = h[i];
    h[0] = 0.0;
    for (int i = 1; i <= j; ++i) {
      const double right = t[l + i];
      const double left = t[l + i - j];
      if (right == left) {
        h[i] = 0.0;
        continue;
      }
      const double f = previous[i - 1] / (right - left);
      h[i - 1] = h[i - 1] + f * (right - x);
      h[i] = f * (x - left);
    }
  }
}

// Written with the knots counted from 1, as in the published formulation, so
// that every product is formed in the same order.
void DerivativeJumps(const double* t, int n, std::span<std::array<double, kBand>> b) {
  const auto knot = [t](int i) { return t[i - 1]; };
  const int lastCoef = n - kOrder;
  const double intervals = lastCoef - kDegree;
  const double fac = intervals / (knot(lastCoef + 1) - knot(kOrder));
  double h[2 * kOrder + 1];
  for (int l = kBand; l <= lastCoef; ++l) {
    const int row = l - kOrder;  // counted from 1
    for (int j = 1; j <= kOrder; ++j) {
      h[j] = knot(l) - knot(l + j - kBand);
      h[j + kOrder] = knot(l) - knot(l + j);
    }
    int lp = row;
    for (int j = 1; j <= kBand; ++j) {
      double prod = h[j];
      for (int i = 1; i <= kDegree; ++i) prod = prod * h[j + i] * fac;
      b[row - 1][j - 1] = (knot(lp + kOrder) - knot(lp)) / prod;
      ++lp;
    }
  }
}

}  // namespace vantor::fitpack
