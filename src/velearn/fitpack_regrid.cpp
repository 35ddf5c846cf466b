#include "velearn/fitpack_regrid.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "velearn/fitpack_grid_solve.h"
#include "velearn/fitpack_knots.h"

namespace vantor::fitpack {

namespace {

// The published routine keeps these in single precision; widening the float
// (not writing the exact decimal) keeps the search on the same path.
constexpr double kTolerance = static_cast<double>(0.001f);
constexpr double kShrink = static_cast<double>(0.04f);
constexpr double kNear = static_cast<double>(0.1f);
constexpr double kFar = static_cast<double>(0.9f);

// Conversion of a double to a 32-bit integer as the processor does it: a
// value out of range (or NaN) becomes INT_MIN instead of being undefined.
int TruncateToInt(double v) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return INT_MIN;
  return static_cast<int>(v);
}

bool StrictlyAscendingWithin(std::span<const double> v, double begin, double end) {
  if (begin > v.front() || end < v.back()) return false;
  for (std::size_t i = 1; i < v.size(); ++i) {
    if (!(v[i - 1] < v[i])) return false;
  }
  return true;
}

bool IsValid(const GridFitRequest& r) {
  const std::size_t mx = r.x.size();
  const std::size_t my = r.y.size();
  if (mx < kOrder || my < kOrder || mx > kMaxPointsX || my > kMaxPointsY) return false;
  if (r.z.size() != mx * my) return false;
  if (r.nxest < kMinKnots || r.nyest < kMinKnots) return false;
  if (r.nxest > kMaxKnotsX || r.nyest > kMaxKnotsY || r.maxit < 1) return false;
  if (!StrictlyAscendingWithin(r.x, r.xb, r.xe)) return false;
  if (!StrictlyAscendingWithin(r.y, r.yb, r.ye)) return false;
  if (!(r.s >= 0.0)) return false;  // NaN included
  const int mx4 = static_cast<int>(mx) + kOrder;
  const int my4 = static_cast<int>(my) + kOrder;
  return !(r.s == 0.0 && (r.nxest < mx4 || r.nyest < my4));
}

// State of the knot placement, carried from one set of knots to the next.
struct KnotSearch {
  int nmaxx = 0;  // knots of the interpolating spline
  int nmaxy = 0;
  int nxe = 0;  // knots allowed
  int nye = 0;
  double acc = 0.0;  // absolute tolerance on fp - s
  double fp0 = 0.0;  // residual sum of the least-squares polynomial
  double fpold = 0.0;
  double reducx = 0.0;  // residual gained by the last additions in x
  double reducy = 0.0;
  int lastdi = 0;  // -1 knots last added in x, 1 in y
  int nplusx = 0;
  int nplusy = 0;
};

void SetBoundaryKnots(const GridFitRequest& r, GridSpline& sp) {
  for (int j = 0; j < kOrder; ++j) {
    sp.tx[j] = r.xb;
    sp.tx[sp.nx - 1 - j] = r.xe;
    sp.ty[j] = r.yb;
    sp.ty[sp.ny - 1 - j] = r.ye;
  }
}

// Interior knots of the interpolating spline: on the grid points, leaving
// out the two next to each end.
void InterpolationKnots(std::span<const double> x, double* t) {
  const int interior = static_cast<int>(x.size()) - kOrder;
  for (int l = 0; l < interior; ++l) t[kOrder + l] = x[kOrder / 2 + l];
}

int KnotsToAdd(bool none, int added, double reduction, double fpms, double acc) {
  if (none) return 1;
  int wanted = added * 2;
  const double rn = added;
  if (reduction > acc) wanted = TruncateToInt(rn * fpms / reduction);
  return std::min(added * 2, std::max({wanted, added / 2, 1}));
}

void AddKnots(std::span<const double> x, double* t, int& n, int limit, int count,
              KnotIntervals& intervals) {
  for (int l = 0; l < count; ++l) {
    if (!AddKnot(x.data(), t, n, intervals) || n == limit) return;
  }
}

// Chooses the direction and number of knots to add after a least-squares
// spline whose residual sum exceeds s by fpms.
void GrowKnots(const GridFitRequest& r, double fp, double fpms, KnotSearch& ks,
               GridSpline& sp, FitWork& work) {
  if (ks.lastdi < 0) ks.reducx = ks.fpold - fp;
  if (ks.lastdi > 0) ks.reducy = ks.fpold - fp;
  ks.fpold = fp;
  const int nplx = KnotsToAdd(sp.nx == kMinKnots, ks.nplusx, ks.reducx, fpms, ks.acc);
  const int nply = KnotsToAdd(sp.ny == kMinKnots, ks.nplusy, ks.reducy, fpms, ks.acc);
  bool inX = nplx < nply || (nplx == nply && ks.lastdi >= 0);
  if (inX ? sp.nx == ks.nxe : sp.ny == ks.nye) inX = !inX;
  if (inX) {
    ks.lastdi = -1;
    ks.nplusx = nplx;
    work.solve.haveRowsX = false;
    AddKnots(r.x, sp.tx.data(), sp.nx, ks.nxe, nplx, work.intervalsX);
  } else {
    ks.lastdi = 1;
    ks.nplusy = nply;
    work.solve.haveRowsY = false;
    AddKnots(r.y, sp.ty.data(), sp.ny, ks.nye, nply, work.intervalsY);
  }
}

constexpr int kSearchOn = 100;  // not an error code: go on with the p search

// Least-squares splines on growing sets of knots until fp <= s. Returns an
// error code, or kSearchOn with fpms = fp - s < 0 for the smoothing search.
int PlaceKnots(const GridFitRequest& r, const GridView& grid, KnotSearch& ks, GridSpline& sp,
               FitWork& work, double& fpms) {
  int ier = kFitOk;
  const int trials = static_cast<int>(r.x.size() + r.y.size());
  for (int iter = 1; iter <= trials; ++iter) {
    if (sp.nx == kMinKnots && sp.ny == kMinKnots) ier = kFitPolynomial;
    work.intervalsX.count = sp.nx - kMinKnots + 1;
    work.intervalsY.count = sp.ny - kMinKnots + 1;
    SetBoundaryKnots(r, sp);
    SolveOnKnots(grid, -1.0, sp, work.solve, work.intervalsX.fpint.data(),
                 work.intervalsY.fpint.data());
    if (ier == kFitPolynomial) ks.fp0 = sp.fp;
    fpms = sp.fp - r.s;
    if (std::fabs(fpms) < ks.acc) return ier;
    if (fpms < 0.0) break;
    if (sp.nx == ks.nmaxx && sp.ny == ks.nmaxy) {
      sp.fp = 0.0;
      return kFitInterpolating;
    }
    if (sp.nx == ks.nxe && sp.ny == ks.nye) return kFitTooManyKnots;
    ier = kFitOk;
    GrowKnots(r, sp.fp, fpms, ks, sp, work);
  }
  return ier == kFitPolynomial ? ier : kSearchOn;
}

// Finds p with |f(p) - s| < acc by rational interpolation, keeping a bracket
// f1 > 0 > f3 (p3 < 0 standing for infinity).
int SearchSmoothing(const GridFitRequest& r, const GridView& grid, const KnotSearch& ks,
                    double fpms, GridSpline& sp, FitWork& work) {
  double p1 = 0.0, f1 = ks.fp0 - r.s;
  double p3 = -1.0, f3 = fpms;
  double p = 1.0;
  bool ich1 = false, ich3 = false;
  for (int iter = 1;; ++iter) {
    SolveOnKnots(grid, p, sp, work.solve, work.intervalsX.fpint.data(),
                 work.intervalsY.fpint.data());
    fpms = sp.fp - r.s;
    if (std::fabs(fpms) < ks.acc) return kFitOk;
    if (iter == r.maxit) return kFitNoConvergence;
    const double p2 = p, f2 = fpms;
    if (!ich3) {
      if (!(f2 - f3 > ks.acc)) {  // p too large
        p3 = p2;
        f3 = f2;
        p = p * kShrink;
        if (p <= p1) p = p1 * kFar + p2 * kNear;
        continue;
      }
      if (f2 < 0.0) ich3 = true;
    }
    if (!ich1) {
      if (!(f1 - f2 > ks.acc)) {  // p too small
        p1 = p2;
        f1 = f2;
        p = p / kShrink;
        if (p3 < 0.0) continue;
        if (p >= p3) p = p2 * kNear + p3 * kFar;
        continue;
      }
      if (f2 > 0.0) ich1 = true;
    }
    if (f2 >= f1 || f2 <= f3) return kFitSearchFailed;
    p = RationalRoot(p1, f1, p2, f2, p3, f3);
  }
}

void StartFit(const GridFitRequest& r, KnotSearch& ks, GridSpline& sp, FitWork& work) {
  const int mx = static_cast<int>(r.x.size());
  const int my = static_cast<int>(r.y.size());
  ks.acc = kTolerance * r.s;
  ks.nmaxx = mx + kOrder;
  ks.nmaxy = my + kOrder;
  ks.nxe = std::min(ks.nmaxx, r.nxest);
  ks.nye = std::min(ks.nmaxy, r.nyest);
  work.solve.haveRowsX = work.solve.haveRowsY = false;
  work.solve.havePenaltyX = work.solve.havePenaltyY = false;
  if (r.s > 0.0) {
    sp.nx = kMinKnots;
    sp.ny = kMinKnots;
    work.intervalsX.nrdata[0] = mx - 2;
    work.intervalsY.nrdata[0] = my - 2;
    return;
  }
  sp.nx = ks.nmaxx;
  sp.ny = ks.nmaxy;
  InterpolationKnots(r.x, sp.tx.data());
  InterpolationKnots(r.y, sp.ty.data());
}

}  // namespace

GridFitRequest RequestOnGrid(std::span<const double> x, std::span<const double> y,
                             std::span<const double> z, double s) {
  GridFitRequest r;
  r.x = x;
  r.y = y;
  r.z = z;
  if (!x.empty()) {
    r.xb = x.front();
    r.xe = x.back();
  }
  if (!y.empty()) {
    r.yb = y.front();
    r.ye = y.back();
  }
  r.s = s;
  return r;
}

int FitGridSpline(const GridFitRequest& r, GridSpline& sp, FitWork& work) {
  if (!IsValid(r)) return kFitInvalidInput;
  KnotSearch ks;
  StartFit(r, ks, sp, work);
  if (sp.nx > r.nxest || sp.ny > r.nyest) return kFitTooManyKnots;
  const GridView grid{r.x, r.y, r.z};
  double fpms = 0.0;
  const int ier = PlaceKnots(r, grid, ks, sp, work, fpms);
  if (ier != kSearchOn) return ier;
  return SearchSmoothing(r, grid, ks, fpms, sp, work);
}

}  // namespace vantor::fitpack
