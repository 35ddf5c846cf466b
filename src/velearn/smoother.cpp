#include "velearn/smoother.h"

#include <cmath>

#include "velearn/fitpack_bispev.h"
#include "velearn/fitpack_regrid.h"

namespace vantor {

namespace {

// One work space per thread: a call allocates nothing and calls on
// different threads do not share scratch.
struct SmootherWork {
  fitpack::FitWork fit;
  fitpack::EvalWork eval;
  std::array<double, kVeCells> z{};
  SmootherResult result;
};

SmootherWork& ThreadWork() {
  thread_local SmootherWork work;
  return work;
}

}  // namespace

SmootherGrid VeSmootherGrid() {
  SmootherGrid g;
  for (int r = 0; r < kVeRows; ++r) g.x[r] = (kVeRpmAxis[r] - 400) / 100.0;
  for (int c = 0; c < kVeColumns; ++c) g.y[c] = (kVeMapAxis[c] - 20) / 5.0;
  return g;
}

std::int32_t CellFromSplineValue(double value) {
  const double rounded = std::trunc(value * 10.0 + 0.5);
  if (!(rounded >= 0.0)) return 0;  // NaN too
  if (rounded >= 255.0) return 255;
  return static_cast<std::int32_t>(rounded);
}

void SmoothTable(const VeTable& table, double smoothingFactor, SmootherResult& result) {
  static const SmootherGrid grid = VeSmootherGrid();
  SmootherWork& work = ThreadWork();
  for (int r = 0; r < kVeRows; ++r) {
    for (int c = 0; c < kVeColumns; ++c) {
      work.z[r * kVeColumns + c] = table.At(r + 1, c + 1) / 10.0;
    }
  }
  const auto request = fitpack::RequestOnGrid(grid.x, grid.y, work.z, smoothingFactor);
  result.evaluated = false;
  result.ier = fitpack::FitGridSpline(request, result.spline, work.fit);
  if (result.ier >= 1) return;
  const int evalIer =
      fitpack::EvaluateGridSpline(result.spline, grid.x, grid.y, result.values, work.eval);
  if (evalIer >= 1) {
    result.ier = evalIer;
    return;
  }
  result.evaluated = true;
}

int SmoothLearnedTable(VeTable& learned, int smoothFactor) {
  SmootherResult& result = ThreadWork().result;
  SmoothTable(learned, static_cast<double>(smoothFactor), result);
  if (!result.evaluated) return result.ier;
  for (int r = 0; r < kVeRows; ++r) {
    for (int c = 0; c < kVeColumns; ++c) {
      learned.At(r + 1, c + 1) = CellFromSplineValue(result.values[r * kVeColumns + c]);
    }
  }
  return result.ier;
}

}  // namespace vantor
