#pragma once
// Givens rotations and back substitution on the band matrices of the fit.

#include <cmath>

#include "velearn/fitpack_types.h"

namespace vantor::fitpack {

struct Rotation {
  double cos;
  double sin;
};

// Rotation that annihilates piv against the diagonal element ww, which
// receives the new diagonal value.
inline Rotation MakeRotation(double piv, double& ww) {
  const double store = std::fabs(piv);
  double dd;
  if (store >= ww) {
    const double ratio = ww / piv;
    dd = store * std::sqrt(1.0 + ratio * ratio);
  } else {
    const double ratio = piv / ww;
    dd = ww * std::sqrt(1.0 + ratio * ratio);
  }
  const Rotation r{ww / dd, piv / dd};
  ww = dd;
  return r;
}

inline void Rotate(const Rotation& r, double& a, double& b) {
  const double oldA = a;
  const double oldB = b;
  b = r.cos * oldB + r.sin * oldA;
  a = r.cos * oldA - r.sin * oldB;
}

// Solves a * c = v in place for count right-hand sides at once: the n x n
// upper triangular band matrix a (diagonal in column 0) and element (i, k)
// of the right-hand sides at v[i * rowStride + k * columnStride]. Each
// right-hand side sees the operations of a single solve in the same order;
// interleaving them only keeps the divisions from waiting on each other.
template <std::size_t Rows>
void BackSubstituteMany(const std::array<std::array<double, kBand>, Rows>& a, int n, int band,
                        double* v, int rowStride, int count, int columnStride) {
  for (int i = n - 1, done = 0; i >= 0; --i, ++done) {
    const int terms = done < band - 1 ? done : band - 1;
    const auto& ai = a[i];
    for (int k = 0; k < count; ++k) {
      double* x = v + k * columnStride;
      double store = x[i * rowStride];
      for (int l = 1; l <= terms; ++l) store = store - x[(i + l) * rowStride] * ai[l];
      x[i * rowStride] = store / ai[0];
    }
  }
}

}  // namespace vantor::fitpack
