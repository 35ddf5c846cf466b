#pragma once
// Smoothing of a learned VE table by a bicubic smoothing spline fitted on the
// table's own grid and evaluated back at the grid points.

#include <array>

#include "cal/ve_table.h"
#include "velearn/fitpack_types.h"

namespace vantor {

constexpr int kVeCells = kVeRows * kVeColumns;

// The table's grid in spline coordinates: x = (RPM - 400) / 100 for the
// rows, y = (MAP - 20) / 5 for the columns.
struct SmootherGrid {
  std::array<double, kVeRows> x{};
  std::array<double, kVeColumns> y{};
};
SmootherGrid VeSmootherGrid();

// Cell from a spline value in tenths: value x 10 rounded half up by
// truncation, limited to 0-255.
std::int32_t CellFromSplineValue(double value);

// The fit and evaluation of one table, for callers that need the figures.
struct SmootherResult {
  int ier = fitpack::kFitInvalidInput;  // of the fit, or of the evaluation
  fitpack::GridSpline spline;
  std::array<double, kVeCells> values{};  // spline at the grid, row-major
  bool evaluated = false;
};
void SmoothTable(const VeTable& table, double smoothingFactor, SmootherResult& result);

// Replaces the cells of learned by the smoothed surface when the error code
// is 0 or negative and leaves them as they were otherwise. Returns the code.
int SmoothLearnedTable(VeTable& learned, int smoothFactor);

}  // namespace vantor
