#include "velearn/smoother.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>

#include "velearn/fitpack_bispev.h"
#include "velearn/fitpack_regrid.h"
#include "velearn/smoother_reference_support.h"

namespace vantor {
namespace {

using test::CellsOf;
using test::SmootherCase;
using test::TableFromCells;

constexpr double kValueTolerance = 1e-9;

const std::string kReferenceDir = std::string(VANTOR_TESTDATA_DIR) + "/smoother";

const std::vector<SmootherCase>& ReferenceCases() {
  static const std::vector<SmootherCase> cases =
      test::ReadSmootherCases(kReferenceDir + "/reference.txt");
  return cases;
}

struct Agreement {
  int cases = 0;
  double maxValueDiff = 0.0;
};

// Compares one case with our fit; returns the largest spline value difference.
double ExpectSameAsReference(const SmootherCase& ref) {
  SCOPED_TRACE(ref.name + " factor " + std::to_string(ref.factor));
  SmootherResult result;
  SmoothTable(TableFromCells(ref.cells), ref.factor, result);
  EXPECT_EQ(result.ier, ref.ier);
  EXPECT_EQ(result.spline.nx, static_cast<int>(ref.tx.size()));
  EXPECT_EQ(result.spline.ny, static_cast<int>(ref.ty.size()));
  // With a positive code the table is kept, but the last spline computed
  // must still be the reference's.
  EXPECT_EQ(result.evaluated, ref.ier < 1);
  std::array<double, kVeCells> values = result.values;
  if (!result.evaluated) {
    const SmootherGrid g = VeSmootherGrid();
    fitpack::EvalWork eval;
    EXPECT_EQ(fitpack::EvaluateGridSpline(result.spline, g.x, g.y, values, eval), 0);
  }
  double maxDiff = 0.0;
  EXPECT_EQ(ref.values.size(), values.size());
  for (std::size_t i = 0; i < ref.values.size() && i < values.size(); ++i) {
    maxDiff = std::max(maxDiff, std::fabs(values[i] - ref.values[i]));
  }
  EXPECT_LE(maxDiff, kValueTolerance);
  VeTable table = TableFromCells(ref.cells);
  EXPECT_EQ(SmoothLearnedTable(table, ref.factor), ref.ier);
  EXPECT_EQ(CellsOf(table), ref.written);
  return maxDiff;
}

Agreement CompareAll(const std::vector<SmootherCase>& cases) {
  Agreement a;
  for (const SmootherCase& ref : cases) {
    a.maxValueDiff = std::max(a.maxValueDiff, ExpectSameAsReference(ref));
    ++a.cases;
  }
  return a;
}

TEST(SmootherReference, EveryReferenceTableGivesTheSameCellsAndCode) {
  const auto& cases = ReferenceCases();
  ASSERT_GE(cases.size(), 200u) << "reference data missing in " << kReferenceDir;
  const Agreement a = CompareAll(cases);
  std::printf("smoother: %d reference tables, max spline difference %.3g\n", a.cases,
              a.maxValueDiff);
}

TEST(SmootherReference, CoversEveryCodeTheFixedParametersCanGive) {
  std::set<int> codes;
  std::set<int> factors;
  for (const SmootherCase& ref : ReferenceCases()) {
    codes.insert(ref.ier);
    factors.insert(ref.factor);
  }
  // 1 would need more knots than interpolation uses, 10 invalid input: both
  // are impossible with the table's grid and the fixed knot limits.
  EXPECT_EQ(codes, (std::set<int>{-2, -1, 0, 2, 3}));
  EXPECT_EQ(factors.size(), 20u);
}

TEST(SmootherReference, PositiveCodeLeavesTheTableAsItWas) {
  int seen = 0;
  for (const SmootherCase& ref : ReferenceCases()) {
    if (ref.ier < 1) continue;
    VeTable table = TableFromCells(ref.cells);
    EXPECT_EQ(SmoothLearnedTable(table, ref.factor), ref.ier) << ref.name;
    EXPECT_EQ(CellsOf(table), ref.cells) << ref.name;
    EXPECT_EQ(table.At(0, 1), 20);  // axes untouched
    EXPECT_EQ(table.At(35, 0), 8000);
    ++seen;
  }
  EXPECT_GT(seen, 0);
}

TEST(SmootherReference, CallsOnTwoThreadsAtOnceKeepTheirOwnScratch) {
  const auto& cases = ReferenceCases();
  int mismatches[2] = {0, 0};
  const auto run = [&cases](int& mismatch, bool backwards) {
    for (std::size_t n = 0; n < cases.size(); ++n) {
      const SmootherCase& ref = cases[backwards ? cases.size() - 1 - n : n];
      VeTable table = TableFromCells(ref.cells);
      const int ier = SmoothLearnedTable(table, ref.factor);
      if (ier != ref.ier || CellsOf(table) != ref.written) ++mismatch;
    }
  };
  std::thread other(run, std::ref(mismatches[1]), true);
  run(mismatches[0], false);
  other.join();
  EXPECT_EQ(mismatches[0], 0);
  EXPECT_EQ(mismatches[1], 0);
}

TEST(Smoother, FlatTableComesBackUnchangedAsPolynomial) {
  for (int value : {0, 1, 77, 128, 254, 255}) {
    for (int factor : {1, 12, 20}) {
      VeTable table = TableFromCells(std::vector<int>(kVeCells, value));
      EXPECT_EQ(SmoothLearnedTable(table, factor), fitpack::kFitPolynomial) << value;
      EXPECT_EQ(CellsOf(table), std::vector<int>(kVeCells, value)) << value;
    }
  }
}

TEST(Smoother, CellRoundsTenthsAndLimitsToAByte) {
  EXPECT_EQ(CellFromSplineValue(25.57), 255);  // 256 before the limit
  EXPECT_EQ(CellFromSplineValue(-0.02), 0);
  EXPECT_EQ(CellFromSplineValue(-3.0), 0);
  EXPECT_EQ(CellFromSplineValue(12.84), 128);
  EXPECT_EQ(CellFromSplineValue(12.86), 129);
  EXPECT_EQ(CellFromSplineValue(25.54), 255);
  EXPECT_EQ(CellFromSplineValue(1e300), 255);
  EXPECT_EQ(CellFromSplineValue(std::nan("")), 0);
}

// ---- the fit and evaluation themselves ---------------------------------------

struct SmallGrid {
  std::vector<double> x{0, 1, 2, 3, 4, 5, 6};
  std::vector<double> y{0, 1, 3, 4, 6};
  std::vector<double> z;
  SmallGrid() {
    for (double xi : x) {
      for (double yj : y) z.push_back(std::sin(xi) * std::cos(0.5 * yj) + 0.1 * xi * yj);
    }
  }
};

TEST(GridSplineFit, ZeroSmoothingInterpolates) {
  SmallGrid g;
  fitpack::GridSpline spline;
  fitpack::FitWork work;
  const auto request = fitpack::RequestOnGrid(g.x, g.y, g.z, 0.0);
  ASSERT_EQ(fitpack::FitGridSpline(request, spline, work), fitpack::kFitInterpolating);
  EXPECT_EQ(spline.nx, 7 + 4);
  EXPECT_EQ(spline.ny, 5 + 4);
  std::vector<double> values(g.z.size());
  fitpack::EvalWork eval;
  ASSERT_EQ(fitpack::EvaluateGridSpline(spline, g.x, g.y, values, eval), 0);
  for (std::size_t i = 0; i < values.size(); ++i) EXPECT_NEAR(values[i], g.z[i], 1e-12);
}

TEST(GridSplineFit, InvalidInputIsRefused) {
  SmallGrid g;
  fitpack::GridSpline spline;
  fitpack::FitWork work;
  auto request = fitpack::RequestOnGrid(g.x, g.y, g.z, 1.0);
  auto refused = [&](fitpack::GridFitRequest r) {
    return fitpack::FitGridSpline(r, spline, work) == fitpack::kFitInvalidInput;
  };
  auto r = request;
  r.s = -1.0;
  EXPECT_TRUE(refused(r));
  r = request;
  r.s = std::nan("");
  EXPECT_TRUE(refused(r));
  std::vector<double> unsorted{0, 2, 1, 3, 4, 5, 6};
  r = request;
  r.x = unsorted;
  EXPECT_TRUE(refused(r));
  r = request;
  r.xb = 0.5;  // grid outside the domain
  EXPECT_TRUE(refused(r));
  r = request;
  r.z = std::span<const double>(g.z).first(g.z.size() - 1);
  EXPECT_TRUE(refused(r));
  std::vector<double> tooFew{0, 1, 2};
  r = request;
  r.y = tooFew;
  EXPECT_TRUE(refused(r));
  std::vector<double> tooMany(fitpack::kMaxPointsX + 1);
  for (std::size_t i = 0; i < tooMany.size(); ++i) tooMany[i] = static_cast<double>(i);
  r = request;
  r.x = tooMany;
  EXPECT_TRUE(refused(r));
  r = request;
  r.s = 0.0;
  r.nxest = 9;  // interpolation needs 11 knots
  EXPECT_TRUE(refused(r));
  EXPECT_FALSE(refused(request));
}

TEST(GridSplineFit, KnotLimitBelowTheNeedGivesCodeOne) {
  SmallGrid g;
  fitpack::GridSpline spline;
  fitpack::FitWork work;
  auto request = fitpack::RequestOnGrid(g.x, g.y, g.z, 1e-6);
  request.nxest = fitpack::kMinKnots;
  request.nyest = fitpack::kMinKnots;
  EXPECT_EQ(fitpack::FitGridSpline(request, spline, work), fitpack::kFitTooManyKnots);
  EXPECT_EQ(spline.nx, fitpack::kMinKnots);
  EXPECT_GT(spline.fp, request.s);
}

TEST(GridSplineEvaluation, InvalidPointsAreRefused) {
  SmallGrid g;
  fitpack::GridSpline spline;
  fitpack::FitWork work;
  ASSERT_LE(fitpack::FitGridSpline(fitpack::RequestOnGrid(g.x, g.y, g.z, 0.5), spline, work), 0);
  fitpack::EvalWork eval;
  std::vector<double> out(g.z.size());
  std::vector<double> descending{3, 2};
  EXPECT_EQ(fitpack::EvaluateGridSpline(spline, descending, g.y, out, eval),
            fitpack::kFitInvalidInput);
  EXPECT_EQ(fitpack::EvaluateGridSpline(spline, {}, g.y, out, eval), fitpack::kFitInvalidInput);
  std::vector<double> small(3);
  EXPECT_EQ(fitpack::EvaluateGridSpline(spline, g.x, g.y, small, eval),
            fitpack::kFitInvalidInput);
  // Outside the knot range the value at the nearest end is taken.
  std::vector<double> outside{-5.0, 0.0};
  std::vector<double> one{1.0};
  std::vector<double> two(2);
  ASSERT_EQ(fitpack::EvaluateGridSpline(spline, outside, one, two, eval), 0);
  EXPECT_EQ(two[0], two[1]);
}

// ---- live comparison with scipy, when it is installed -------------------------

bool ReferenceInterpreterAvailable() {
  return std::filesystem::exists("/usr/bin/python3") &&
         std::system("/usr/bin/python3 -c 'import scipy.interpolate' >/dev/null 2>&1") == 0;
}

std::vector<SmootherCase> FreshRandomTables(unsigned seed, int count) {
  std::mt19937 rng(seed);
  std::vector<SmootherCase> cases;
  for (int i = 0; i < count; ++i) {
    SmootherCase c;
    c.name = "live-" + std::to_string(seed) + "-" + std::to_string(i);
    c.factor = i % 20 + 1;
    // Half rough tables, half a smooth surface with learned noise.
    std::uniform_int_distribution<int> any(0, 255);
    std::normal_distribution<double> noise(0.0, 1.0 + i % 7);
    for (int r = 0; r < kVeRows; ++r) {
      for (int col = 0; col < kVeColumns; ++col) {
        const double surface = 60.0 + 8.0 * col + 20.0 * std::sin(r / 6.0) + noise(rng);
        const int smooth = static_cast<int>(std::clamp(std::lround(surface), 0L, 255L));
        c.cells.push_back(i % 2 == 0 ? any(rng) : smooth);
      }
    }
    cases.push_back(c);
  }
  return cases;
}

TEST(SmootherLive, FreshRandomTablesAgreeWithScipy) {
  if (!ReferenceInterpreterAvailable()) GTEST_SKIP() << "/usr/bin/python3 with scipy not found";
  const auto dir = std::filesystem::temp_directory_path() /
                   ("smoother_live_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                    "_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  const std::string in = (dir / "in.txt").string();
  const std::string out = (dir / "out.txt").string();
  ASSERT_TRUE(test::WriteSmootherInputs(in, FreshRandomTables(std::random_device{}(), 8)));
  const std::string command = "/usr/bin/python3 '" + kReferenceDir + "/make_reference.py' --live '" +
                              in + "' '" + out + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  const auto cases = test::ReadSmootherCases(out);
  std::filesystem::remove_all(dir);
  ASSERT_EQ(cases.size(), 8u);
  const Agreement a = CompareAll(cases);
  std::printf("smoother: %d live tables, max spline difference %.3g\n", a.cases, a.maxValueDiff);
}

}  // namespace
}  // namespace vantor
