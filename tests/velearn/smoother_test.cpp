#include "velearn/smoother.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <numeric>
#include <functional>
#include <sstream>
#include <string>

#include "velearn/fitpack_bispev.h"
#include "velearn/fitpack_regrid.h"

namespace vantor {
namespace {

// One table of tests/data/smoother/reference.txt, as make_reference.py writes it:
// the numbers of each line (factor, cells, ier, tx, ty, values, written) by its first word.
struct SmootherCase {
  std::string name;
  std::map<std::string, std::vector<double>> lines;
  int First(const std::string& word) const { return static_cast<int>(lines.at(word).at(0)); }
};

// Empty when the file cannot be read.
std::vector<SmootherCase> ReadSmootherCases(const std::string& path) {
  std::ifstream file(path);
  std::vector<SmootherCase> cases;
  for (std::string line, word; std::getline(file, line);) {
    std::istringstream in(line);
    in >> word;
    if (word == "case") {
      cases.push_back({line.substr(5), {}});
    } else if (!cases.empty()) {
      // strtod reads every value exactly, including the shortest round-trip form
      for (std::string token; in >> token;) cases.back().lines[word].push_back(std::stod(token));
    }
  }
  return cases;
}

VeTable TableFromCells(const std::vector<double>& cells) {
  VeTable t;
  for (int r = 0; r < kVeRows; ++r)
    for (int c = 0; c < kVeColumns; ++c) t.At(r + 1, c + 1) = static_cast<int>(cells.at(r * kVeColumns + c));
  return t;
}

std::vector<double> CellsOf(const VeTable& table) {
  std::vector<double> cells;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) cells.push_back(table.At(r, c));
  return cells;
}

const std::string kReferenceDir = std::string(VANTOR_TESTDATA_DIR) + "/smoother";

void ExpectSameAsReference(const SmootherCase& ref) {
  SCOPED_TRACE(ref.name);
  const std::vector<double>& cells = ref.lines.at("cells");
  const std::vector<double>& values = ref.lines.at("values");
  SmootherResult result;
  SmoothTable(TableFromCells(cells), ref.First("factor"), result);
  // With a positive code the table is kept, but the last spline computed must still be the reference's.
  EXPECT_EQ(result.evaluated, ref.First("ier") < 1);
  if (!result.evaluated) {
    const SmootherGrid g = VeSmootherGrid();
    fitpack::EvalWork eval;
    EXPECT_EQ(fitpack::EvaluateGridSpline(result.spline, g.x, g.y, result.values, eval), 0);
  }
  ASSERT_EQ(values.size(), result.values.size());
  double maxDiff = 0.0;
  for (std::size_t i = 0; i < values.size(); ++i) maxDiff = std::max(maxDiff, std::fabs(result.values[i] - values[i]));
  EXPECT_LE(maxDiff, 1e-9);
  VeTable table = TableFromCells(cells);
  EXPECT_EQ(SmoothLearnedTable(table, ref.First("factor")), ref.First("ier"));
  EXPECT_EQ(CellsOf(table), ref.lines.at("written"));
  EXPECT_EQ(table.At(0, 1), 20);  // axes untouched
  EXPECT_EQ(table.At(35, 0), 8000);
}

TEST(SmootherReference, EveryReferenceTableGivesTheSameSplineCellsAndCode) {
  const std::vector<SmootherCase> cases = ReadSmootherCases(kReferenceDir + "/reference.txt");
  ASSERT_EQ(cases.size(), 229u) << "reference data missing or malformed in " << kReferenceDir;
  for (const SmootherCase& ref : cases) ExpectSameAsReference(ref);
}

TEST(Smoother, CellRoundsTenthsAndLimitsToAByte) {
  const std::pair<double, int> cases[] = {{25.57, 255} /* 256 before the limit */, {-0.02, 0}, {12.84, 128},
                                          {12.86, 129}, {std::nan(""), 0}};
  for (const auto& [value, cell] : cases) EXPECT_EQ(CellFromSplineValue(value), cell) << value;
}

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

TEST_F(GridSplineTest, InvalidInputIsRefused) {
  const auto request = fitpack::RequestOnGrid(x, y, z, 1.0);
  const std::vector<double> unsorted{0, 2, 1, 3, 4, 5, 6}, tooFew{0, 1, 2};
  std::vector<double> tooMany(fitpack::kMaxPointsX + 1);
  std::iota(tooMany.begin(), tooMany.end(), 0.0);
  const std::function<void(fitpack::GridFitRequest&)> spoilers[] = {
      [](auto& r) { r.s = std::nan(""); },
      [&](auto& r) { r.x = unsorted; },
      [](auto& r) { r.xb = 0.5; },  // grid outside the domain
      [&](auto& r) { r.y = tooFew; },
      [&](auto& r) { r.x = tooMany; },
      [](auto& r) { r.s = 0.0; r.nxest = 9; }};  // interpolation needs 11 knots
  for (std::size_t i = 0; i < std::size(spoilers); ++i) {
    auto r = request;
    spoilers[i](r);
    EXPECT_EQ(Fit(r), fitpack::kFitInvalidInput) << i;
  }
  EXPECT_NE(Fit(request), fitpack::kFitInvalidInput);
  EXPECT_EQ(Fit(fitpack::RequestOnGrid(x, y, z, 0.0)), fitpack::kFitInterpolating);  // no smoothing is valid
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
  EXPECT_EQ(fitpack::EvaluateGridSpline(spline, x, y, small, eval), fitpack::kFitInvalidInput);
  ASSERT_EQ(fitpack::EvaluateGridSpline(spline, outside, one, two, eval), 0);
  EXPECT_EQ(two[0], two[1]);
}

}  // namespace
}  // namespace vantor
