#pragma once
// Fixed sizes and storage of the bicubic rectangular-grid smoothing spline.
// Everything is sized for the VE table grid (35 x 14 points) so that a fit
// never allocates.

#include <array>

namespace vantor::fitpack {

constexpr int kDegree = 3;              // bicubic in both directions
constexpr int kOrder = kDegree + 1;     // non-zero B-splines at any point
constexpr int kBand = kOrder + 1;       // band width once penalty rows enter
constexpr int kMinKnots = 2 * kOrder;   // knots of a plain polynomial

constexpr int kMaxPointsX = 35;
constexpr int kMaxPointsY = 14;
constexpr int kMaxKnotsX = kMaxPointsX + kOrder;  // enough to interpolate
constexpr int kMaxKnotsY = kMaxPointsY + kOrder;
constexpr int kMaxCoefX = kMaxKnotsX - kOrder;
constexpr int kMaxCoefY = kMaxKnotsY - kOrder;
constexpr int kMaxFitIterations = 20;

// Error codes of the fit (and of the evaluation, which only knows 0 and 10).
enum FitResult : int {
  kFitInterpolating = -1,  // fp = 0
  kFitPolynomial = -2,     // s above the polynomial's residual sum
  kFitOk = 0,              // |fp - s| within the tolerance
  kFitTooManyKnots = 1,
  kFitSearchFailed = 2,    // the smoothing parameter search went astray
  kFitNoConvergence = 3,   // iteration limit reached
  kFitInvalidInput = 10,
};

// B-spline representation: knots and the (nx-4) x (ny-4) coefficients,
// y index inner: c[(ny - 4) * i + j].
struct GridSpline {
  int nx = 0;
  int ny = 0;
  std::array<double, kMaxKnotsX> tx{};
  std::array<double, kMaxKnotsY> ty{};
  std::array<double, kMaxCoefX * kMaxCoefY> c{};
  double fp = 0.0;  // sum of squared residuals of the returned spline
};

// Band matrices of the two directions: one row per coefficient (or penalty
// row), kBand columns.
using BandX = std::array<std::array<double, kBand>, kMaxKnotsX>;
using BandY = std::array<std::array<double, kBand>, kMaxKnotsY>;

// Scratch of the least-squares solve on a fixed set of knots. The flags say
// which parts are still valid from the previous solve with the same knots.
struct SolveWork {
  bool haveRowsX = false;     // spx, nrx
  bool haveRowsY = false;     // spy, nry
  bool havePenaltyX = false;  // bx
  bool havePenaltyY = false;  // by
  std::array<std::array<double, kOrder>, kMaxPointsX> spx{};
  std::array<std::array<double, kOrder>, kMaxPointsY> spy{};
  std::array<int, kMaxPointsX> nrx{};  // knot interval of each x
  std::array<int, kMaxPointsY> nry{};
  std::array<double, kMaxKnotsX * kMaxPointsY> q{};
  std::array<double, (kMaxKnotsX > kMaxPointsY ? kMaxKnotsX : kMaxPointsY)> right{};
  BandX ax{};
  BandX bx{};
  BandY ay{};
  BandY by{};
};

// Knot intervals of one direction while knots are being added.
struct KnotIntervals {
  std::array<double, kMaxKnotsX> fpint{};  // residual share per interval
  std::array<int, kMaxKnotsX> nrdata{};    // grid points strictly inside
  int count = 0;
};

struct FitWork {
  SolveWork solve;
  KnotIntervals intervalsX;
  KnotIntervals intervalsY;
};

struct EvalWork {
  std::array<std::array<double, kOrder>, kMaxPointsX> wx{};
  std::array<std::array<double, kOrder>, kMaxPointsY> wy{};
  std::array<int, kMaxPointsX> lx{};
  std::array<int, kMaxPointsY> ly{};
};

}  // namespace vantor::fitpack
