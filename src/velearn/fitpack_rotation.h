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

// Solves a * c = z for the n x n upper triangular band matrix a of the given
// band width (diagonal in column 0). z and c may be the same storage.
template <std::size_t Rows>
void BackSubstitute(const std::array<std::array<double, kBand>, Rows>& a, const double* z,
                    int n, int band, double* c) {
  c[n - 1] = z[n - 1] / a[n - 1][0];
  for (int i = n - 2, done = 1; i >= 0; --i, ++done) {
    double store = z[i];
    const int terms = done < band - 1 ? done : band - 1;
    for (int l = 1; l <= terms; ++l) store = store - c[i + l] * a[i][l];
    c[i] = store / a[i][0];
  }
}

}  // namespace vantor::fitpack
