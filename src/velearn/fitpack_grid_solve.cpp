#include "velearn/fitpack_grid_solve.h"

#include <algorithm>

#include "velearn/fitpack_basis.h"
#include "velearn/fitpack_rotation.h"

namespace vantor::fitpack {

namespace {

// B-spline values at every grid point of one direction and the knot interval
// (counted from 0 among the interior intervals) that holds each point.
template <std::size_t Points>
void ObservationRows(const double* t, int n, std::span<const double> x,
                     std::array<std::array<double, kOrder>, Points>& rows,
                     std::array<int, Points>& interval) {
  const int lastCoef = n - kOrder;
  int l = kDegree;
  for (std::size_t it = 0; it < x.size(); ++it) {
    const double arg = x[it];
    while (!(arg < t[l + 1] || l == lastCoef - 1)) ++l;
    double h[kOrder];
    BSplineValues(t, l, arg, h);
    std::copy(std::begin(h), std::end(h), rows[it].begin());
    interval[it] = l - kDegree;
  }
}

// Rotates the row h (band entries, h[0] belonging to coefficient `first`)
// into the upper triangular band matrix a; applyRight carries each rotation
// over to the right-hand sides of the row that is being eliminated.
template <std::size_t Rows, typename ApplyRight>
void RotateIntoTriangle(double (&h)[kBand], int band, int first,
                        std::array<std::array<double, kBand>, Rows>& a, ApplyRight applyRight) {
  for (int i = 1; i <= band; ++i) {
    const int row = first + i - 1;
    const double piv = h[i - 1];
    if (piv == 0.0) continue;
    const Rotation rot = MakeRotation(piv, a[row][0]);
    applyRight(row, rot);
    if (i == band) break;
    for (int j = i + 1; j <= band; ++j) Rotate(rot, h[j - 1], a[row][j - i]);
  }
}

struct Shape {
  int mx;
  int my;
  int nk1x;  // coefficients in x
  int nk1y;  // coefficients in y
};

// One direction's rows, for Triangulate: the B-spline values at each grid
// point with the knot interval that holds it, the penalty rows, and the band
// matrix being reduced.
template <std::size_t Points, std::size_t Rows>
struct Direction {
  int points;
  const std::array<int, Points>& interval;
  const std::array<std::array<double, kOrder>, Points>& basis;
  const std::array<std::array<double, kBand>, Rows>& penalty;
  std::array<std::array<double, kBand>, Rows>& a;
};

// Rotates every observation row (and for p > 0 every penalty row, each just
// before the first point past its knot) into the triangle. loadData(it) puts
// the data of grid point it into right[0..rhs); applyRight carries each
// rotation over to the right-hand sides. Returns the band width.
template <std::size_t Points, std::size_t Rows, typename LoadData, typename ApplyRight>
int Triangulate(const Direction<Points, Rows>& d, double p, int rhs, double* right,
                LoadData loadData, ApplyRight applyRight) {
  const double pinv = p > 0.0 ? 1.0 / p : 0.0;
  int band = kOrder;
  int nrold = 0;
  double h[kBand];
  for (int it = 0; it < d.points; ++it) {
    const int number = d.interval[it];
    while (nrold != number) {
      if (p > 0.0) {
        band = kBand;
        for (int j = 0; j < kBand; ++j) h[j] = d.penalty[nrold][j] * pinv;
        std::fill_n(right, rhs, 0.0);
        RotateIntoTriangle(h, band, nrold, d.a, applyRight);
      }
      ++nrold;
    }
    h[band - 1] = 0.0;
    for (int j = 0; j < kOrder; ++j) h[j] = d.basis[it][j];
    loadData(it);
    RotateIntoTriangle(h, band, number, d.a, applyRight);
  }
  return band;
}

// Reduces the x system to triangle form in ax; q receives the transformed
// data, one row of my values per x coefficient. Returns the band width.
int TriangulateX(const GridView& grid, const Shape& s, double p, SolveWork& w) {
  std::fill_n(w.q.begin(), s.my * s.nk1x, 0.0);
  for (int i = 0; i < s.nk1x; ++i) w.ax[i].fill(0.0);
  const auto fromZ = [&](int it) {
    std::copy_n(grid.z.begin() + it * s.my, s.my, w.right.begin());
  };
  const auto intoQ = [&](int row, const Rotation& rot) {
    double* q = &w.q[row * s.my];
    for (int j = 0; j < s.my; ++j) Rotate(rot, w.right[j], q[j]);
  };
  const Direction<kMaxPointsX, kMaxKnotsX> x{s.mx, w.nrx, w.spx, w.bx, w.ax};
  return Triangulate(x, p, s.my, w.right.data(), fromZ, intoQ);
}

// Reduces the y system to triangle form in ay, carrying the columns of q
// along into c. Returns the band width.
int TriangulateY(const Shape& s, double p, SolveWork& w, double* c) {
  std::fill_n(c, s.nk1x * s.nk1y, 0.0);
  for (int i = 0; i < s.nk1y; ++i) w.ay[i].fill(0.0);
  const auto fromQ = [&](int it) {
    for (int j = 0; j < s.nk1x; ++j) w.right[j] = w.q[it + j * s.my];
  };
  const auto intoC = [&](int row, const Rotation& rot) {
    for (int j = 0; j < s.nk1x; ++j) Rotate(rot, w.right[j], c[row + j * s.nk1y]);
  };
  const Direction<kMaxPointsY, kMaxKnotsY> y{s.my, w.nry, w.spy, w.by, w.ay};
  return Triangulate(y, p, s.nk1x, w.right.data(), fromQ, intoC);
}

// Solves (ry) c (rx)' = h: first along y for every x index, then along x
// for every y index.
void BackSolve(const Shape& s, int bandX, int bandY, const SolveWork& w, double* c) {
  BackSubstituteMany(w.ay, s.nk1y, bandY, c, 1, s.nk1x, s.nk1y);
  BackSubstituteMany(w.ax, s.nk1x, bandX, c, s.nk1y, s.nk1y, 1);
}

// The spline at the grid points (ix, iy) and (ix, iy + 1): two independent
// sums, each formed in the order of a single evaluation, so that the additions
// of one do not wait for the other's.
void SplineAtPointPair(const Shape& s, const SolveWork& w, const double* c, int ix, int iy,
                       double& first, double& second) {
  const int nextY = iy + 1 < s.my ? iy + 1 : iy;
  const double* row = c + w.nrx[ix] * s.nk1y;
  const double* c0 = row + w.nry[iy];
  const double* c1 = row + w.nry[nextY];
  double t0 = 0.0;
  double t1 = 0.0;
  for (int l1 = 0; l1 < kOrder; ++l1) {
    const double fac = w.spx[ix][l1];
    for (int l2 = 0; l2 < kOrder; ++l2) {
      t0 = t0 + fac * w.spy[iy][l2] * c0[l2];
      t1 = t1 + fac * w.spy[nextY][l2] * c1[l2];
    }
    c0 += s.nk1y;
    c1 += s.nk1y;
  }
  first = t0;
  second = t1;
}

// Squared residuals: their total and each knot interval's share.
double Residuals(const GridView& grid, const Shape& s, const SolveWork& w, const double* c,
                 int nx, int ny, double* fpx, double* fpy) {
  std::fill_n(fpx, nx, 0.0);
  std::fill_n(fpy, ny, 0.0);
  double fp = 0.0;
  int iz = 0;
  int nroldx = 0;
  for (int ix = 0; ix < s.mx; ++ix) {
    const int numx = w.nrx[ix];
    int nroldy = 0;
    double values[kMaxPointsY + 1];
    for (int iy = 0; iy < s.my; iy += 2) {
      SplineAtPointPair(s, w, c, ix, iy, values[iy], values[iy + 1]);
    }
    for (int iy = 0; iy < s.my; ++iy) {
      const int numy = w.nry[iy];
      const double diff = grid.z[iz++] - values[iy];
      const double term = diff * diff;
      fp = fp + term;
      fpx[numx] = fpx[numx] + term;
      fpy[numy] = fpy[numy] + term;
      const double half = term * 0.5;
      if (numy != nroldy) {
        fpy[numy] = fpy[numy] - half;
        fpy[numy - 1] = fpy[numy - 1] + half;
      }
      nroldy = numy;
      if (numx != nroldx) {
        fpx[numx] = fpx[numx] - half;
        fpx[numx - 1] = fpx[numx - 1] + half;
      }
    }
    nroldx = numx;
  }
  return fp;
}

void PrepareBasis(const GridView& grid, double p, const GridSpline& spline, SolveWork& w) {
  if (!w.haveRowsX) {
    ObservationRows(spline.tx.data(), spline.nx, grid.x, w.spx, w.nrx);
    w.haveRowsX = true;
  }
  if (!w.haveRowsY) {
    ObservationRows(spline.ty.data(), spline.ny, grid.y, w.spy, w.nry);
    w.haveRowsY = true;
  }
  if (!(p > 0.0)) return;
  if (!w.havePenaltyX && spline.nx != kMinKnots) {
    DerivativeJumps(spline.tx.data(), spline.nx, w.bx);
    w.havePenaltyX = true;
  }
  if (!w.havePenaltyY && spline.ny != kMinKnots) {
    DerivativeJumps(spline.ty.data(), spline.ny, w.by);
    w.havePenaltyY = true;
  }
}

}  // namespace

void SolveOnKnots(const GridView& grid, double p, GridSpline& spline, SolveWork& work,
                  double* fpx, double* fpy) {
  const Shape shape{static_cast<int>(grid.x.size()), static_cast<int>(grid.y.size()),
                    spline.nx - kOrder, spline.ny - kOrder};
  PrepareBasis(grid, p, spline, work);
  const int bandX = TriangulateX(grid, shape, p, work);
  const int bandY = TriangulateY(shape, p, work, spline.c.data());
  BackSolve(shape, bandX, bandY, work, spline.c.data());
  spline.fp = Residuals(grid, shape, work, spline.c.data(), spline.nx, spline.ny, fpx, fpy);
}

}  // namespace vantor::fitpack
