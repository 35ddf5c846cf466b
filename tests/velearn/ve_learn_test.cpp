#include "velearn/ve_learn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "cal/cal_image.h"
#include "cal/ve_file.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "settings/settings.h"
#include "support/temp_dir.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;
using Frame = std::array<std::uint8_t, 273>;

// A steady closed-loop cruise frame at 2400 RPM, 60 kPa, 90 C coolant.
Frame CruiseFrame(std::uint8_t blm = 140, std::uint8_t integrator = 128) {
  Frame f{};
  f[frame::kCoolantTemp] = 174;   // 90.5 C
  f[frame::kLoadMap] = 128;       // 60 kPa
  f[frame::kTps] = 20;            // 8 %
  f[frame::kRpmCoarse28] = 96;    // 2400 RPM
  f[frame::kFlags14] = 0x82;      // closed loop, block learn on
  f[frame::kBlm] = blm;
  f[frame::kInt] = integrator;
  f[frame::kCommandedAfr] = 147;
  return f;
}

Frame With(int offset, std::uint8_t value, Frame f = CruiseFrame()) {
  f[offset] = value;
  return f;
}

constexpr int kCruiseRow = 19;     // 2400 RPM
constexpr int kCruiseColumn = 9;   // 60 kPa

class VeLearnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteSource(128);
    settings_.smoothFac = 0;
    NewLearn();
  }
  // A learner over a running engine with a one-bar MAP sensor.
  void NewLearn() {
    live_.engineRunning = 1;
    live_.mapSensorBar = 1;
    learn_ = std::make_unique<VeLearn>(settings_, live_, VeLearnHooks{
        [this](const std::string& text, const std::string& caption) { messages_.push_back(caption + ": " + text); },
        {}, {}, {}, [this](std::int32_t tick) { scheduledSave_ = tick; }});
  }

  // A BIN of generation 12, layout 1.0, every VE cell set to cell.
  void WriteSource(std::uint8_t cell) {
    CalImage image;
    image.SetGeneration(12);
    std::copy_n("ORV9", 4, image.Data() + 2);
    image.SetLayoutVersion(kLayout10);
    for (int r = 1; r <= kVeRows; ++r)
      for (int c = 1; c <= kVeColumns; ++c) image.SetVeCell(r, c, cell);
    test::WriteAll(source_, std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize));
  }

  void Feed(const Frame& f, int times = 1) {
    for (int i = 0; i < times; ++i) learn_->OnFrame(f.data(), false);
  }
  void StartLearning() { ASSERT_TRUE(learn_->Start(source_, newBin_, 0)); }
  // The first frame after the start is compared with nothing and only remembered.
  void StartSteady(const Frame& f) {
    StartLearning();
    Feed(f);
  }
  // Enough samples at the cruise cell for its neighbourhood average.
  void LearnSteadily(const Frame& f) {
    StartSteady(f);
    Feed(f, 4);
    learn_->Recompute();
  }

  test::TempDir dir_;
  std::string source_ = dir_.File("base_00012.bin"), newBin_ = dir_.File("base_00013.bin");
  Settings settings_;
  LiveData live_;
  std::vector<std::string> messages_;
  std::unique_ptr<VeLearn> learn_;
  std::int32_t scheduledSave_ = -1;
};

// trunc(72 x 0.66667 + 128) = 176 is limited to 144; 250 x 144 / 128 = 281 overflows.
TEST_F(VeLearnTest, ALargeCorrectionIsLimitedAndAnOverflowingCellIsShown) {
  WriteSource(250);
  LearnSteadily(CruiseFrame(200));
  EXPECT_EQ(learn_->Correction().At(kCruiseRow, kCruiseColumn), 144);
  EXPECT_EQ(learn_->Learned().At(kCruiseRow, kCruiseColumn), 255);
  EXPECT_EQ(learn_->Learned().At(1, 1), 250) << "no data there";
  EXPECT_EQ(learn_->OverflowTitle(), "Overflow on VE:");
  EXPECT_EQ(learn_->OverflowRpm().substr(0, 8), "2400 RPM");
}

struct LastVerdict final : LearnObserver {
  void OnVerdict(LearnGate g, int, int, std::uint32_t s) override { gate = g, sample = s; }
  LearnGate gate = LearnGate::Sampled;
  std::uint32_t sample = 0;
};

// After a steady cruise frame, the frame of each case stops at its gate.
TEST_F(VeLearnTest, EachFrameIsToldTheGateItStopsAt) {
  const struct {
    int mode;  // [LRNINP]
    void (*change)(Frame&, LiveData&);
    LearnGate gate;
    std::uint32_t sample;
  } cases[] = {
      {0, [](Frame&, LiveData&) {}, LearnGate::Sampled, 140},
      {0, [](Frame&, LiveData& l) { l.engineRunning = 0; }, LearnGate::NotRunning, 0},
      {0, [](Frame& f, LiveData&) { f[frame::kCoolantTemp] = 100; }, LearnGate::Coolant, 0},
      {0, [](Frame& f, LiveData&) { f[frame::kFlags13] = 0x40; }, LearnGate::Transient, 0},
      {0, [](Frame& f, LiveData&) { f[frame::kLoadMap] = 150; }, LearnGate::MapStep, 0},
      {0, [](Frame& f, LiveData&) { f[frame::kTps] = 40; }, LearnGate::TpsStep, 0},
      {0, [](Frame& f, LiveData&) { f[frame::kRpmCoarse28] = 10; }, LearnGate::RpmBelowTable, 0},
      {0, [](Frame& f, LiveData& l) { l.mapSensorBar = 2; f[frame::kBoost] = 5; }, LearnGate::Boost, 0},
      {0, [](Frame& f, LiveData&) { f[frame::kFlags14] = 0x80; }, LearnGate::BlmInactive, 0},
      {0, [](Frame& f, LiveData&) { f[frame::kInt] = 120; }, LearnGate::BlmIntConflict, 0},
      {1, [](Frame&, LiveData&) {}, LearnGate::ClosedLoop, 0},
      {1, [](Frame& f, LiveData&) { f[frame::kFlags14] = 0; }, LearnGate::BlmNot128, 0},
      {1, [](Frame& f, LiveData&) { f[frame::kFlags14] = 0; f[frame::kBlm] = 128; }, LearnGate::NoReading, 0},
      // 16.17 / 14.7 x 128 + 0.5 = 141.3
      {1, [](Frame& f, LiveData& l) { f[frame::kFlags14] = 0; f[frame::kBlm] = 128; l.wbAfr = 16.17; }, LearnGate::Sampled, 141},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(LearnGateName(c.gate));
    settings_.lrnInp = c.mode;
    NewLearn();
    LastVerdict verdict;
    learn_->SetObserver(&verdict);
    StartSteady(CruiseFrame());
    Feed(CruiseFrame());
    Frame frame = CruiseFrame();
    c.change(frame, live_);
    Feed(frame);
    EXPECT_EQ(verdict.gate, c.gate) << LearnGateName(verdict.gate);
    EXPECT_EQ(verdict.sample, c.sample);
    EXPECT_EQ(learn_->WbBlmWarning(), c.gate == LearnGate::BlmNot128);
  }
}

// Frames in turn, each with the sample count it leaves: a jump is remembered but not sampled, a
// transient holds learning off for 34 frames.
TEST_F(VeLearnTest, SamplesFollowTheFramesBeforeThem) {
  const Frame jump = With(frame::kLoadMap, 128 + 20);  // +6 kPa (59.999 -> 66.25 rounds to 66)
  struct Step {
    Frame frame;
    int times;
    std::uint32_t samples;
  };
  const std::vector<std::vector<Step>> cases = {
      {{CruiseFrame(), 1, 0}, {CruiseFrame(), 1, 1}, {jump, 1, 1}, {jump, 1, 2}},
      {{With(frame::kFlags13, 0x10), 1, 0}, {CruiseFrame(), 34, 0}, {CruiseFrame(), 1, 1}}};
  for (std::size_t i = 0; i < cases.size(); ++i) {
    NewLearn();
    StartLearning();
    for (const Step& step : cases[i]) {
      Feed(step.frame, step.times);
      EXPECT_EQ(learn_->SampleCount(), step.samples) << "case " << i;
    }
  }
}

// The retry replaces a stale file in the way by a fresh copy of the source.
TEST_F(VeLearnTest, StopWritesTheNewBinWithTheNextGenerationAndAFailedStopCanBeRetried) {
  newBin_ = dir_.File("missing/base_00013.bin");
  StartSteady(CruiseFrame(140));
  Feed(CruiseFrame(140), 16);  // the 17th frame recomputes the learned table
  EXPECT_FALSE(learn_->Stop());
  EXPECT_EQ(messages_, (std::vector<std::string>{"File Write Error: Error Writing VE table to BIN File"}));
  fs::create_directories(dir_.File("missing"));
  test::WriteAll(newBin_, std::vector<std::uint8_t>(kCalImageSize, 0xAB));
  ASSERT_TRUE(learn_->Stop());
  const SignatureCheck check = CheckSignature(newBin_);
  ASSERT_EQ(check.status, SignatureStatus::Bin);
  EXPECT_EQ(check.generation, 13);
  VeTable written;
  ASSERT_TRUE(ReadVeTable(newBin_, &written));
  EXPECT_EQ(written.At(kCruiseRow, kCruiseColumn), 136);
  const auto bytes = test::ReadAll(newBin_), source = test::ReadAll(source_);
  EXPECT_TRUE(std::equal(bytes.begin() + 0x2000, bytes.end(), source.begin() + 0x2000, source.end()))
      << "no stale byte survives";
}

TEST_F(VeLearnTest, StartRefusesAFileThatIsNotABinAndRemembersTheFilesOfAGoodOne) {
  test::WriteText(source_, "not a calibration");
  EXPECT_FALSE(learn_->Start(source_, newBin_, 0));
  EXPECT_FALSE(learn_->Active());
  EXPECT_EQ(messages_, (std::vector<std::string>{"Incorrect BIN File: Not an ORV KDM-9 Flash BIN!"}));
  EXPECT_TRUE(settings_.learnVe.empty());
  WriteSource(128);
  StartLearning();
  EXPECT_EQ(settings_.learnVe, source_);
  EXPECT_EQ(settings_.flshBin, newBin_);
}

// The first save comes [AUTOVTIME] minutes after the start; the loop repeats it.
TEST_F(VeLearnTest, AutoSaveIsAskedForAPeriodAfterTheStartAndWritesTheNewBinOnlyWhileLearning) {
  settings_.autoVTime = 2;
  learn_->AutoSave();
  EXPECT_FALSE(fs::exists(newBin_));
  ASSERT_TRUE(learn_->Start(source_, newBin_, 119));
  EXPECT_EQ(scheduledSave_, 239);
  learn_->AutoSave();
  EXPECT_TRUE(fs::exists(newBin_));
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace vantor
