#include "velearn/smoother.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "velearn/fitpack_bispev.h"
#include "velearn/fitpack_regrid.h"

namespace vantor {
namespace {

// One table of tests/data/smoother/reference.txt, as make_reference.py writes it.
struct SmootherCase {
  std::string name;
  int factor = 0;
  std::vector<int> cells;  // 490, row by row
  int ier = 0;
  int nx = 0, ny = 0;          // knot counts
  std::vector<double> values;  // spline at the grid points
  std::vector<int> written;    // cells after smoothing
};

// Empty when the file cannot be read; a malformed file throws.
std::vector<SmootherCase> ReadSmootherCases(const std::string& path) {
  std::ifstream file(path);
  std::vector<SmootherCase> cases;
  SmootherCase c;
  for (std::string line, word; std::getline(file, line);) {
    std::istringstream in(line);
    in >> word;
    if (word == "case") {
      c = SmootherCase{};
      c.name = line.substr(5);
      continue;
    }
    std::vector<double> v;  // strtod reads every value exactly, including the shortest round-trip form
    for (std::string token; in >> token;) v.push_back(std::stod(token));
    const std::vector<int> ints(v.begin(), v.end());
    if (word == "factor" || word == "ier") (word == "ier" ? c.ier : c.factor) = ints.at(0);
    if (word == "cells") c.cells = ints;
    if (word == "written") c.written = ints;
    if (word == "values") c.values = v;
    if (word == "tx" || word == "ty") {
      if (v.empty() || v.size() - 1 != static_cast<std::size_t>(v[0])) throw std::runtime_error("knot count mismatch");
      (word == "tx" ? c.nx : c.ny) = ints[0];
    }
    if (word == "end") {
      if (c.cells.size() != kVeCells) throw std::runtime_error(c.name);
      cases.push_back(c);
    }
  }
  return cases;
}

VeTable TableFromCells(const std::vector<int>& cells) {
  VeTable t;
  for (int r = 0; r < kVeRows; ++r)
    for (int c = 0; c < kVeColumns; ++c) t.At(r + 1, c + 1) = cells[r * kVeColumns + c];
  return t;
}

std::vector<int> CellsOf(const VeTable& table) {
  std::vector<int> cells;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) cells.push_back(table.At(r, c));
  return cells;
}

const std::string kReferenceDir = std::string(VANTOR_TESTDATA_DIR) + "/smoother";

const std::vector<SmootherCase>& ReferenceCases() {
  static const std::vector<SmootherCase> cases = ReadSmootherCases(kReferenceDir + "/reference.txt");
  return cases;
}

// Compares one case with our fit; returns the largest spline value difference.
double ExpectSameAsReference(const SmootherCase& ref) {
  SCOPED_TRACE(ref.name + " factor " + std::to_string(ref.factor));
  SmootherResult result;
  SmoothTable(TableFromCells(ref.cells), ref.factor, result);
  EXPECT_EQ(result.ier, ref.ier);
  EXPECT_EQ(result.spline.nx, ref.nx);
  EXPECT_EQ(result.spline.ny, ref.ny);
  // With a positive code the table is kept, but the last spline computed must still be the reference's.
  EXPECT_EQ(result.evaluated, ref.ier < 1);
  std::array<double, kVeCells> values = result.values;
  if (!result.evaluated) {
    const SmootherGrid g = VeSmootherGrid();
    fitpack::EvalWork eval;
    EXPECT_EQ(fitpack::EvaluateGridSpline(result.spline, g.x, g.y, values, eval), 0);
  }
  double maxDiff = 0.0;
  EXPECT_EQ(ref.values.size(), values.size());
  for (std::size_t i = 0; i < ref.values.size() && i < values.size(); ++i)
    maxDiff = std::max(maxDiff, std::fabs(values[i] - ref.values[i]));
  EXPECT_LE(maxDiff, 1e-9);
  VeTable table = TableFromCells(ref.cells);
  EXPECT_EQ(SmoothLearnedTable(table, ref.factor), ref.ier);
  EXPECT_EQ(CellsOf(table), ref.written);
  EXPECT_EQ(table.At(0, 1), 20);  // axes untouched
  EXPECT_EQ(table.At(35, 0), 8000);
  return maxDiff;
}

// 1 would need more knots than interpolation uses, 10 invalid input: both
// are impossible with the table's grid and the fixed knot limits.
TEST(SmootherReference, EveryReferenceTableGivesTheSameCellsAndCode) {
  ASSERT_GE(ReferenceCases().size(), 200u) << "reference data missing in " << kReferenceDir;
  double maxDiff = 0.0;
  std::set<int> codes, factors;
  for (const SmootherCase& ref : ReferenceCases()) {
    maxDiff = std::max(maxDiff, ExpectSameAsReference(ref));
    codes.insert(ref.ier);
    factors.insert(ref.factor);
  }
  std::printf("smoother: %zu reference tables, max spline difference %.3g\n", ReferenceCases().size(), maxDiff);
  EXPECT_EQ(codes, (std::set<int>{-2, -1, 0, 2, 3}));
  EXPECT_EQ(factors.size(), 20u);
}

TEST(SmootherReference, CallsOnTwoThreadsAtOnceKeepTheirOwnScratch) {
  const auto& cases = ReferenceCases();
  int mismatches[2] = {0, 0};
  const auto run = [&cases](int& mismatch, bool backwards) {
    for (std::size_t n = 0; n < cases.size(); ++n) {
      const SmootherCase& ref = cases[backwards ? cases.size() - 1 - n : n];
      VeTable table = TableFromCells(ref.cells);
      if (SmoothLearnedTable(table, ref.factor) != ref.ier || CellsOf(table) != ref.written) ++mismatch;
    }
  };
  std::thread other(run, std::ref(mismatches[1]), true);
  run(mismatches[0], false);
  other.join();
  EXPECT_EQ(mismatches[0], 0);
  EXPECT_EQ(mismatches[1], 0);
}

TEST(Smoother, FlatTableComesBackUnchangedAsPolynomial) {
  for (int value : {0, 1, 77, 128, 254, 255})
    for (int factor : {1, 12, 20}) {
      VeTable table = TableFromCells(std::vector<int>(kVeCells, value));
      EXPECT_EQ(SmoothLearnedTable(table, factor), fitpack::kFitPolynomial) << value;
      EXPECT_EQ(CellsOf(table), std::vector<int>(kVeCells, value)) << value;
    }
}

TEST(Smoother, CellRoundsTenthsAndLimitsToAByte) {
  const std::pair<double, int> cases[] = {{25.57, 255} /* 256 before the limit */, {-0.02, 0}, {-3.0, 0},
                                          {12.84, 128}, {12.86, 129}, {25.54, 255}, {1e300, 255},
                                          {std::nan(""), 0}};
  for (const auto& [value, cell] : cases) EXPECT_EQ(CellFromSplineValue(value), cell) << value;
}

// ---- the fit and evaluation themselves ---------------------------------------

class GridSplineTest : public ::testing::Test {
 protected:
  GridSplineTest() {
    for (double xi : x)
      for (double yj : y) z.push_back(std::sin(xi) * std::cos(0.5 * yj) + 0.1 * xi * yj);
  }
  int Fit(const fitpack::GridFitRequest& request) { return fitpack::FitGridSpline(request, spline, work); }

  std::vector<double> x{0, 1, 2, 3, 4, 5, 6}, y{0, 1, 3, 4, 6}, z;
  fitpack::GridSpline spline;
  fitpack::FitWork work;
  fitpack::EvalWork eval;
};

TEST_F(GridSplineTest, ZeroSmoothingInterpolates) {
  ASSERT_EQ(Fit(fitpack::RequestOnGrid(x, y, z, 0.0)), fitpack::kFitInterpolating);
  EXPECT_EQ(spline.nx, 7 + 4);
  EXPECT_EQ(spline.ny, 5 + 4);
  std::vector<double> values(z.size());
  ASSERT_EQ(fitpack::EvaluateGridSpline(spline, x, y, values, eval), 0);
  for (std::size_t i = 0; i < values.size(); ++i) EXPECT_NEAR(values[i], z[i], 1e-12);
}

TEST_F(GridSplineTest, InvalidInputIsRefused) {
  const auto request = fitpack::RequestOnGrid(x, y, z, 1.0);
  const std::vector<double> unsorted{0, 2, 1, 3, 4, 5, 6}, tooFew{0, 1, 2};
  std::vector<double> tooMany(fitpack::kMaxPointsX + 1);
  for (std::size_t i = 0; i < tooMany.size(); ++i) tooMany[i] = static_cast<double>(i);
  const std::function<void(fitpack::GridFitRequest&)> spoilers[] = {
      [](auto& r) { r.s = -1.0; },
      [](auto& r) { r.s = std::nan(""); },
      [&](auto& r) { r.x = unsorted; },
      [](auto& r) { r.xb = 0.5; },  // grid outside the domain
      [&](auto& r) { r.z = std::span<const double>(z).first(z.size() - 1); },
      [&](auto& r) { r.y = tooFew; },
      [&](auto& r) { r.x = tooMany; },
      [](auto& r) {
        r.s = 0.0;
        r.nxest = 9;  // interpolation needs 11 knots
      }};
  for (std::size_t i = 0; i < std::size(spoilers); ++i) {
    auto r = request;
    spoilers[i](r);
    EXPECT_EQ(Fit(r), fitpack::kFitInvalidInput) << i;
  }
  EXPECT_NE(Fit(request), fitpack::kFitInvalidInput);
}

TEST_F(GridSplineTest, KnotLimitBelowTheNeedGivesCodeOne) {
  auto request = fitpack::RequestOnGrid(x, y, z, 1e-6);
  request.nxest = request.nyest = fitpack::kMinKnots;
  EXPECT_EQ(Fit(request), fitpack::kFitTooManyKnots);
  EXPECT_EQ(spline.nx, fitpack::kMinKnots);
  EXPECT_GT(spline.fp, request.s);
}

TEST_F(GridSplineTest, InvalidPointsAreRefusedAndOutsideTheKnotsTheNearestEndCounts) {
  ASSERT_LE(Fit(fitpack::RequestOnGrid(x, y, z, 0.5)), 0);
  std::vector<double> out(z.size()), small(3), two(2);
  const std::vector<double> descending{3, 2}, outside{-5.0, 0.0}, one{1.0};
  EXPECT_EQ(fitpack::EvaluateGridSpline(spline, descending, y, out, eval), fitpack::kFitInvalidInput);
  EXPECT_EQ(fitpack::EvaluateGridSpline(spline, {}, y, out, eval), fitpack::kFitInvalidInput);
  EXPECT_EQ(fitpack::EvaluateGridSpline(spline, x, y, small, eval), fitpack::kFitInvalidInput);
  ASSERT_EQ(fitpack::EvaluateGridSpline(spline, outside, one, two, eval), 0);
  EXPECT_EQ(two[0], two[1]);
}

}  // namespace
}  // namespace vantor
