#include "velearn/fitpack_bispev.h"

#include <algorithm>

#include "velearn/fitpack_basis.h"

namespace vantor::fitpack {

namespace {

bool NonDecreasing(std::span<const double> v) {
  for (std::size_t i = 1; i < v.size(); ++i) {
    if (v[i] < v[i - 1]) return false;
  }
  return true;
}

// B-spline values at each point and the first coefficient they belong to.
template <std::size_t Points>
void BasisAtPoints(const double* t, int n, std::span<const double> x,
                   std::array<std::array<double, kOrder>, Points>& w,
                   std::array<int, Points>& first) {
  const int lastCoef = n - kOrder;
  const double tb = t[kDegree];
  const double te = t[lastCoef];
  int l = kDegree;
  for (std::size_t i = 0; i < x.size(); ++i) {
    double arg = x[i];
    if (arg < tb) arg = tb;
    if (arg > te) arg = te;
    while (!(arg < t[l + 1] || l == lastCoef - 1)) ++l;
    double h[kOrder];
    BSplineValues(t, l, arg, h);
    first[i] = l - kDegree;
    std::copy(std::begin(h), std::end(h), w[i].begin());
  }
}

}  // namespace

int EvaluateGridSpline(const GridSpline& sp, std::span<const double> x, std::span<const double> y,
                       std::span<double> z, EvalWork& work) {
  const std::size_t mx = x.size();
  const std::size_t my = y.size();
  if (mx < 1 || my < 1 || mx > kMaxPointsX || my > kMaxPointsY) return kFitInvalidInput;
  if (z.size() < mx * my || !NonDecreasing(x) || !NonDecreasing(y)) return kFitInvalidInput;
  if (sp.nx < kMinKnots || sp.ny < kMinKnots || sp.nx > kMaxKnotsX || sp.ny > kMaxKnotsY) {
    return kFitInvalidInput;
  }
  BasisAtPoints(sp.tx.data(), sp.nx, x, work.wx, work.lx);
  BasisAtPoints(sp.ty.data(), sp.ny, y, work.wy, work.ly);
  const int nky1 = sp.ny - kOrder;
  std::size_t m = 0;
  for (std::size_t i = 0; i < mx; ++i) {
    const auto& hx = work.wx[i];
    for (std::size_t j = 0; j < my; ++j) {
      const auto& hy = work.wy[j];
      int row = work.lx[i] * nky1 + work.ly[j];
      double sum = 0.0;
      for (int i1 = 0; i1 < kOrder; ++i1) {
        for (int j1 = 0; j1 < kOrder; ++j1) sum = sum + sp.c[row + j1] * hx[i1] * hy[j1];
        row += nky1;
      }
      z[m++] = sum;
    }
  }
  return kFitOk;
}

}  // namespace vantor::fitpack
