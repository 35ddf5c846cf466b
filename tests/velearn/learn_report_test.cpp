#include "velearn/learn_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "support/temp_dir.h"

namespace vantor {
namespace {

TEST(LearnReport, FramesCountInTheNearestCell) {
  const struct {
    int rpmBin, mapBin, row, column;
  } cases[] = {{0, 0, 1, 1},         // 400 rpm, 20 kPa
               {287, 23, 35, 6},     // 7969 rpm, 43 kPa
               {62, 51, 16, 11}};    // 1950 rpm (between 1900 and 2000: the lower), 71 kPa
  for (const auto& c : cases) {
    const VeCell cell = NearestCell(c.rpmBin, c.mapBin);
    EXPECT_EQ(std::pair(cell.row, cell.column), std::pair(c.row, c.column)) << c.rpmBin << "," << c.mapBin;
  }
  LearnReport report;
  for (std::uint32_t sample : {140u, 150u, 130u}) report.OnVerdict(LearnGate::Sampled, 80, 40, sample);
  report.OnVerdict(LearnGate::Coolant, 81, 42, 0);
  report.OnVerdict(LearnGate::HoldOff, 0, 0, 0);
  double mean = 0;
  ASSERT_TRUE(report.Cell(19, 9).MeanCorrectionPercent(&mean));
  EXPECT_DOUBLE_EQ(mean, 9.375);  // 140 of 128
  EXPECT_FALSE(report.Cell(1, 1).MeanCorrectionPercent(&mean));
  EXPECT_EQ(report.Totals()[static_cast<int>(LearnGate::HoldOff)], 1u);

  test::TempDir dir;
  VeTable original, learned;
  original.At(19, 9) = 128;
  learned.At(19, 9) = 136;
  ASSERT_TRUE(report.WriteCsv(dir.File("report.csv"), original, learned));
  const std::string csv = test::ReadText(dir.File("report.csv"));
  EXPECT_EQ(csv.rfind("rpm,kpa,seen,accepted,no_reading,not_running,coolant,", 0), 0u) << csv.substr(0, 80);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + kVeRows * kVeColumns);
  // seen 4, accepted 3, one coolant refusal
  EXPECT_NE(csv.find("\n2400,60,4,3,0,0,1,0,0,0,0,0,0,0,0,0,0,0,9.38,128,136\n"), std::string::npos);
  EXPECT_FALSE(report.WriteCsv(dir.File("no/such/dir/report.csv"), original, learned));
}

TEST(LearnReport, TheSummaryCountsCellsAndOrdersTheLargestChanges) {
  VeTable original, correction, now;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) original.At(r, c) = now.At(r, c) = 100;
  correction.At(5, 5) = correction.At(6, 6) = 136;
  now.At(5, 5) = 106;
  now.At(6, 6) = 90;
  now.At(7, 7) = 102;  // moved by the smoother alone
  const LearnSummary summary = SummariseLearn(original, correction, now, 2);
  EXPECT_EQ(summary.learned, 2);
  EXPECT_EQ(summary.wantingSamples, kVeRows * kVeColumns - 2);
  ASSERT_EQ(summary.largest.size(), 2u);
  EXPECT_EQ(summary.largest[0].cell.row, 6);
  EXPECT_DOUBLE_EQ(summary.largest[0].percent, -10.0);
  EXPECT_EQ(summary.largest[1].cell.row, 5);
}

}  // namespace
}  // namespace vantor
