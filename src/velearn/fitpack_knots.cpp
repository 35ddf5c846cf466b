#include "velearn/fitpack_knots.h"

namespace vantor::fitpack {

namespace {

struct Widest {
  int interval = 0;    // counted from 1
  int points = 0;      // grid points inside it
  int firstPoint = 0;  // index (from 1) of the point before its first one
  double share = 0.0;
};

Widest IntervalToSplit(const KnotIntervals& in) {
  Widest w;
  int begin = 1;  // knots are never placed on the first grid point
  for (int j = 1; j <= in.count; ++j) {
    const int points = in.nrdata[j - 1];
    if (!(w.share >= in.fpint[j - 1] || points == 0)) {
      w = Widest{j, points, begin, in.fpint[j - 1]};
    }
    begin += points + 1;
  }
  return w;
}

}  // namespace

// Indices below follow the published formulation, counted from 1.
bool AddKnot(const double* x, double* t, int& n, KnotIntervals& in) {
  const int k = (n - in.count - 1) / 2;
  const Widest w = IntervalToSplit(in);
  if (w.interval == 0) return false;  // no grid point left to place a knot on
  const int half = w.points / 2 + 1;
  const int next = w.interval + 1;
  for (int j = in.count; j >= next; --j) {
    in.fpint[j] = in.fpint[j - 1];
    in.nrdata[j] = in.nrdata[j - 1];
    t[j + k] = t[j + k - 1];
  }
  in.nrdata[w.interval - 1] = half - 1;
  in.nrdata[next - 1] = w.points - half;
  const double all = w.points;
  in.fpint[w.interval - 1] = w.share * static_cast<double>(half - 1) / all;
  in.fpint[next - 1] = w.share * static_cast<double>(w.points - half) / all;
  t[next + k - 1] = x[w.firstPoint + half - 1];
  ++n;
  ++in.count;
  return true;
}

double RationalRoot(double& p1, double& f1, double p2, double f2, double& p3, double& f3) {
  double p;
  if (p3 > 0.0) {
    const double h1 = f1 * (f2 - f3);
    const double h2 = f2 * (f3 - f1);
    const double h3 = f3 * (f1 - f2);
    p = -(p1 * p2 * h3 + p2 * p3 * h1 + p3 * p1 * h2) / (p1 * h1 + p2 * h2 + p3 * h3);
  } else {
    p = (p1 * (f1 - f3) * f2 - p2 * (f2 - f3) * f1) / ((f1 - f2) * f3);
  }
  if (f2 < 0.0) {
    p3 = p2;
    f3 = f2;
  } else {
    p1 = p2;
    f1 = f2;
  }
  return p;
}

}  // namespace vantor::fitpack
