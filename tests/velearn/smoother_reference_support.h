#pragma once
// Reference results of the smoother, as written by
// tests/data/smoother/make_reference.py.

#include <string>
#include <vector>

#include "cal/ve_table.h"

namespace vantor::test {

struct SmootherCase {
  std::string name;
  int factor = 0;
  std::vector<int> cells;  // 490, row by row
  bool hasResult = false;
  int ier = 0;
  double fp = 0.0;
  std::vector<double> tx;
  std::vector<double> ty;
  std::vector<double> values;  // spline at the grid points
  std::vector<int> written;    // cells after smoothing
};

// Empty when the file cannot be read; a malformed file throws.
std::vector<SmootherCase> ReadSmootherCases(const std::string& path);

// Only the case, factor and cells of each case (input of the live run).
bool WriteSmootherInputs(const std::string& path, const std::vector<SmootherCase>& cases);

VeTable TableFromCells(const std::vector<int>& cells);
std::vector<int> CellsOf(const VeTable& table);

}  // namespace vantor::test
