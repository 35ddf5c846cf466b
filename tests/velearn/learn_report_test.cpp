// The VE learn report: the gate each frame stops at, the cell it is counted
// in, the report's lines, and the summary of what was learned.

#include "velearn/learn_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/temp_dir.h"
#include "live/live_data.h"
#include "settings/settings.h"
#include "velearn/learn_frames.h"
#include "velearn/ve_learn.h"

namespace vantor {
namespace {

using test::CruiseFrame;
using test::Frame;

struct LastVerdict final : LearnObserver {
  void OnVerdict(LearnGate g, int, int, std::uint32_t s) override { gate = g, sample = s; }
  LearnGate gate = LearnGate::Sampled;
  std::uint32_t sample = 0;
};

// After a steady cruise frame, the frame of each case stops at its gate.
TEST(LearnGates, EachFrameIsToldTheGateItStopsAt) {
  const struct {
    const char* name;
    int mode;  // [LRNINP]
    void (*change)(Frame&, LiveData&);
    LearnGate gate;
    std::uint32_t sample;
  } cases[] = {
      {"cruise", 0, [](Frame&, LiveData&) {}, LearnGate::Sampled, 140},
      {"stopped", 0, [](Frame&, LiveData& l) { l.engineRunning = 0; }, LearnGate::NotRunning, 0},
      {"cold", 0, [](Frame& f, LiveData&) { f[frame::kCoolantTemp] = 100; }, LearnGate::Coolant, 0},
      {"enrichment", 0, [](Frame& f, LiveData&) { f[frame::kFlags13] = 0x40; }, LearnGate::Transient, 0},
      {"map step", 0, [](Frame& f, LiveData&) { f[frame::kLoadMap] = 150; }, LearnGate::MapStep, 0},
      {"tps step", 0, [](Frame& f, LiveData&) { f[frame::kTps] = 40; }, LearnGate::TpsStep, 0},
      {"idle speed", 0, [](Frame& f, LiveData&) { f[frame::kRpmCoarse28] = 10; }, LearnGate::RpmBelowTable, 0},
      {"boost", 0, [](Frame& f, LiveData& l) { l.mapSensorBar = 2, f[frame::kBoost] = 5; }, LearnGate::Boost, 0},
      {"no block learn", 0, [](Frame& f, LiveData&) { f[frame::kFlags14] = 0x80; }, LearnGate::BlmInactive, 0},
      {"blm against int", 0, [](Frame& f, LiveData&) { f[frame::kInt] = 120; }, LearnGate::BlmIntConflict, 0},
      {"wb closed loop", 1, [](Frame&, LiveData&) {}, LearnGate::ClosedLoop, 0},
      {"wb blm trims", 1, [](Frame& f, LiveData&) { f[frame::kFlags14] = 0; }, LearnGate::BlmNot128, 0},
      {"wb no reading", 1, [](Frame& f, LiveData&) { f[frame::kFlags14] = 0, f[frame::kBlm] = 128; },
       LearnGate::NoReading, 0},
      {"wb lean", 1, [](Frame& f, LiveData& l) { f[frame::kFlags14] = 0, f[frame::kBlm] = 128, l.wbAfr = 16.17; },
       LearnGate::Sampled, 141},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    test::WriteUniformBin(dir.File("src.bin"), 128);
    Settings settings;
    settings.lrnInp = c.mode;
    LiveData live;
    live.engineRunning = 1;
    live.mapSensorBar = 1;
    VeLearn learn(settings, live, {});
    LastVerdict verdict;
    learn.SetObserver(&verdict);
    ASSERT_TRUE(learn.Start(dir.File("src.bin"), dir.File("new.bin"), 0));
    const Frame steady = CruiseFrame();
    learn.OnFrame(steady.data(), false);
    learn.OnFrame(steady.data(), false);
    Frame frame = CruiseFrame();
    c.change(frame, live);
    learn.OnFrame(frame.data(), false);
    EXPECT_EQ(verdict.gate, c.gate) << LearnGateName(verdict.gate);
    EXPECT_EQ(verdict.sample, c.sample);
    EXPECT_EQ(learn.WbBlmWarning(), c.gate == LearnGate::BlmNot128);
  }
}

TEST(LearnReport, FramesCountInTheNearestCell) {
  const struct {
    int rpmBin, mapBin, row, column;
  } cases[] = {{0, 0, 1, 1},         // 400 rpm, 20 kPa
               {80, 40, 19, 9},      // 2400 rpm, 60 kPa
               {81, 42, 19, 9},      // 2425 rpm, 62 kPa: still nearest
               {224, 80, 31, 14},    // 6000 rpm, 100 kPa
               {287, 23, 35, 6},     // 7969 rpm, 43 kPa
               {62, 51, 16, 11}};    // 1950 rpm (between 1900 and 2000: the lower), 71 kPa
  for (const auto& c : cases) {
    const VeCell cell = NearestCell(c.rpmBin, c.mapBin);
    EXPECT_EQ(cell.row, c.row) << c.rpmBin;
    EXPECT_EQ(cell.column, c.column) << c.mapBin;
  }
  LearnReport report;
  for (std::uint32_t sample : {140u, 150u, 130u}) report.OnVerdict(LearnGate::Sampled, 80, 40, sample);
  report.OnVerdict(LearnGate::Coolant, 81, 42, 0);
  report.OnVerdict(LearnGate::HoldOff, 0, 0, 0);
  const LearnCellCounts& cruise = report.Cell(19, 9);
  EXPECT_EQ(cruise.Seen(), 4u);
  EXPECT_EQ(cruise.Accepted(), 3u);
  double mean = 0;
  ASSERT_TRUE(cruise.MeanCorrectionPercent(&mean));
  EXPECT_DOUBLE_EQ(mean, 9.375);  // 140 of 128
  EXPECT_FALSE(report.Cell(1, 1).MeanCorrectionPercent(&mean));
  EXPECT_EQ(report.Totals()[static_cast<int>(LearnGate::Coolant)], 1u);
  EXPECT_EQ(report.Totals()[static_cast<int>(LearnGate::HoldOff)], 1u);

  test::TempDir dir;
  VeTable original, learned;
  original.At(19, 9) = 128;
  learned.At(19, 9) = 136;
  ASSERT_TRUE(report.WriteCsv(dir.File("report.csv"), original, learned));
  const std::string csv = test::ReadText(dir.File("report.csv"));
  EXPECT_EQ(csv.rfind("rpm,kpa,seen,accepted,no_reading,not_running,coolant,", 0), 0u) << csv.substr(0, 80);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + kVeRows * kVeColumns);
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
