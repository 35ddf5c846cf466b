#include "velearn/ve_learn.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cal/cal_image.h"
#include "velearn/learn_frames.h"
#include "cal/temp_dir.h"
#include "cal/ve_file.h"
#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/display_state.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "settings/settings.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;
using test::CruiseFrame;
using test::Frame;
using test::kCruiseColumn;
using test::kCruiseRow;

class VeLearnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteSource(128);
    settings_.smoothFac = 0;
    live_.engineRunning = 1;
    live_.mapSensorBar = 1;
    learn_ = std::make_unique<VeLearn>(settings_, live_, VeLearnHooks{
        [this](const std::string& text, const std::string& caption) { messages_.push_back(caption + ": " + text); },
        {}, {}, {}, [this](std::int32_t tick) { loop_.SetNextAutoUpdate(tick); }});
    loop_.SetHooks(FrameLoopHooks{[this] { learn_->AutoSave(); }, {}, {}, {}});
  }

  void WriteSource(std::uint8_t cell) { test::WriteUniformBin(source_, cell); }

  void Feed(const Frame& f, int times = 1) {
    for (int i = 0; i < times; ++i) learn_->OnFrame(f.data(), false);
  }
  void StartLearning() { ASSERT_TRUE(learn_->Start(source_, newBin_, state_.Tick())); }
  // The first frame after the start is compared with nothing and only remembered.
  void StartSteady(const Frame& f) {
    StartLearning();
    Feed(f);
    ASSERT_EQ(learn_->SampleCount(), 0u);
  }

  test::TempDir dir_;
  std::string source_ = dir_.File("base_00012.bin"), newBin_ = dir_.File("base_00013.bin");
  Settings settings_;
  LiveData live_;
  std::vector<std::string> messages_;
  std::unique_ptr<VeLearn> learn_;
  // The frame processing loop with nothing to read: only its auto-update runs.
  AdcChannels adc_;
  DisplayState state_;
  ByteSources sources_{nullptr, ByteSourceId::None};
  FrameLoop loop_{sources_, live_, adc_, state_};
};

TEST_F(VeLearnTest, SteadyBlmCruiseMovesTheCellTowardsBlm) {
  StartSteady(CruiseFrame(140));
  Feed(CruiseFrame(140), 4);
  EXPECT_EQ(learn_->SampleCount(), 4u);
  learn_->Recompute();
  EXPECT_EQ(learn_->Correction().At(kCruiseRow, kCruiseColumn), 136);  // trunc(12 x 0.66667 + 128)
  EXPECT_EQ(learn_->Learned().At(kCruiseRow, kCruiseColumn), 136);     // 136 x 128 / 128
  EXPECT_EQ(learn_->Learned().At(1, 1), 128);                            // no data there
}

TEST_F(VeLearnTest, MapJumpIsNotSampledAndTheNextFrameIsComparedWithIt) {
  StartSteady(CruiseFrame());
  Feed(CruiseFrame());
  Frame jump = CruiseFrame();
  jump[frame::kLoadMap] = 128 + 20;  // +6 kPa (59.999 -> 66.25 rounds to 66)
  Feed(jump);
  EXPECT_EQ(learn_->SampleCount(), 1u);
  Feed(jump);  // compared with the jump frame: steady now
  EXPECT_EQ(learn_->SampleCount(), 2u);
}

TEST_F(VeLearnTest, TransientHoldsLearningOffFor34Frames) {
  StartLearning();
  Frame decel = CruiseFrame();
  decel[frame::kFlags13] = 0x10;  // DE
  Feed(decel);
  Feed(CruiseFrame(), 34);
  EXPECT_EQ(learn_->SampleCount(), 0u);
  Feed(CruiseFrame());
  EXPECT_EQ(learn_->SampleCount(), 1u);
}

TEST_F(VeLearnTest, BlmAgainstIntegratorIsNotSampledNorRemembered) {
  StartSteady(CruiseFrame());
  Frame high = CruiseFrame(140, 120);
  high[frame::kLoadMap] = 140;  // 63.75 kPa: a 4 kPa step, steady
  Feed(high);
  EXPECT_EQ(learn_->SampleCount(), 0u);
  // Had the rejected frame been remembered (64 kPa), 67 kPa would be steady; it is
  // compared with the cruise frame (60 kPa) instead and rejected as a jump.
  Frame higher = CruiseFrame();
  higher[frame::kLoadMap] = 150;  // 66.9 kPa
  Feed(higher);
  EXPECT_EQ(learn_->SampleCount(), 0u);
  Feed(higher);
  EXPECT_EQ(learn_->SampleCount(), 1u);
}

TEST_F(VeLearnTest, FactorIsLimitedAndOverflowIsReported) {
  WriteSource(250);
  StartSteady(CruiseFrame(200));
  Feed(CruiseFrame(200), 4);  // trunc(72 x 0.66667 + 128) = 176 -> 144
  learn_->Recompute();
  EXPECT_EQ(learn_->Correction().At(kCruiseRow, kCruiseColumn), 144);
  EXPECT_EQ(learn_->Learned().At(kCruiseRow, kCruiseColumn), 255);  // 250 x 144 / 128 = 281
  EXPECT_EQ(learn_->OverflowTitle(), "Overflow on VE:");
  EXPECT_EQ(learn_->OverflowRpm().substr(0, 8), "2400 RPM");
}

TEST_F(VeLearnTest, WidebandLeanerThanCommandedRaisesTheVe) {
  settings_.lrnInp = 1;
  StartLearning();
  Frame open = CruiseFrame(128);
  open[frame::kFlags14] = 0x00;  // open loop
  live_.wbAfr = 16.17;           // 10 % leaner than 14.7
  Feed(open, 5);
  learn_->Recompute();
  // 16.17 / 14.7 x 128 + 0.5 = 141.3: sample 141, wideband gain 1, original 128.
  EXPECT_EQ(learn_->Correction().At(kCruiseRow, kCruiseColumn), 141);
  EXPECT_EQ(learn_->Learned().At(kCruiseRow, kCruiseColumn), 141);
}

// Frames that pass no gate: nothing is sampled and the learned cell stays the original.
struct Gate {
  const char* name;
  void (*spoil)(Settings&, LiveData&, Frame&);
  bool blmWarning;
};

class VeLearnGateTest : public VeLearnTest, public ::testing::WithParamInterface<Gate> {};

TEST_P(VeLearnGateTest, TakesNoSample) {
  Frame f = CruiseFrame();
  GetParam().spoil(settings_, live_, f);
  StartLearning();
  Feed(f, 5);
  EXPECT_EQ(learn_->SampleCount(), 0u);
  EXPECT_EQ(learn_->WbBlmWarning(), GetParam().blmWarning);
  learn_->Recompute();
  EXPECT_EQ(learn_->Learned().At(kCruiseRow, kCruiseColumn), 128);
}

void OpenLoopWideband(Settings& s, LiveData& live, Frame& f, double afr) {
  s.lrnInp = 1;
  f[frame::kFlags14] = 0x00;
  f[frame::kBlm] = 128;
  live.wbAfr = afr;
}

INSTANTIATE_TEST_SUITE_P(
    Gates, VeLearnGateTest,
    ::testing::Values(
        Gate{"EngineNotRunning", [](Settings&, LiveData& live, Frame&) { live.engineRunning = 0; }, false},
        Gate{"CoolantBelow75C", [](Settings&, LiveData&, Frame& f) { f[frame::kCoolantTemp] = 140; }, false},
        Gate{"BoostWithATwoBarSensor", [](Settings&, LiveData& live, Frame& f) {
               live.mapSensorBar = 2;
               f[frame::kBoost] = 10;
             }, false},
        Gate{"WidebandReadingZero", [](Settings& s, LiveData& live, Frame& f) { OpenLoopWideband(s, live, f, 0.0); }, false},
        Gate{"WidebandWithBlmNotNeutral", [](Settings& s, LiveData& live, Frame& f) {
               OpenLoopWideband(s, live, f, 14.7);
               f[frame::kBlm] = 140;
             }, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VeLearnTest, StopWritesTheNewBinWithTheNextGenerationAndAFailedStopCanBeRetried) {
  newBin_ = dir_.File("missing/base_00013.bin");
  StartSteady(CruiseFrame(140));
  Feed(CruiseFrame(140), 16);  // the 17th frame recomputes the learned table
  EXPECT_FALSE(learn_->Stop());
  EXPECT_TRUE(learn_->Active());
  EXPECT_EQ(messages_, (std::vector<std::string>{"File Write Error: Error Writing VE table to BIN File"}));
  fs::create_directories(dir_.File("missing"));
  ASSERT_TRUE(learn_->Stop());
  EXPECT_FALSE(learn_->Active());
  const SignatureCheck check = CheckSignature(newBin_);
  ASSERT_EQ(check.status, SignatureStatus::Bin);
  EXPECT_EQ(check.generation, 13);
  VeTable written;
  ASSERT_TRUE(ReadVeTable(newBin_, &written));
  EXPECT_EQ(written.At(kCruiseRow, kCruiseColumn), 136);
  EXPECT_EQ(written.At(35, 14), 128);
  EXPECT_EQ(messages_.size(), 1u);
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
  EXPECT_EQ(settings_.learnVeName, "base_00012.bin");
  EXPECT_EQ(settings_.flshBin, newBin_);
  EXPECT_EQ(settings_.flshBinFile, "base_00013.bin");
}

struct ScheduleCase {
  std::int32_t startTick;
  std::vector<std::int32_t> saves;  // ticks at which the new BIN is written, up to tick 400
};

class AutoUpdateScheduleTest : public VeLearnTest, public ::testing::WithParamInterface<ScheduleCase> {};

// The loop keeps the one schedule, first set when learning starts: a save
// comes [AUTOVTIME] minutes after the start, neither at once nor a period late.
TEST_P(AutoUpdateScheduleTest, SavesEveryPeriodFromTheStart) {
  settings_.autoVSave = 1;
  settings_.autoVTime = 2;
  loop_.ApplySettings(settings_);
  std::vector<std::int32_t> saves;
  for (std::int32_t tick = 0; tick <= 400; ++tick) {
    state_.secondsTick = tick;
    if (tick == GetParam().startTick) StartLearning();
    loop_.ProcessNextFrame();
    if (fs::exists(newBin_)) {
      saves.push_back(tick);
      fs::remove(newBin_);
    }
  }
  EXPECT_EQ(saves, GetParam().saves);
  EXPECT_TRUE(messages_.empty());
}

INSTANTIATE_TEST_SUITE_P(Starts, AutoUpdateScheduleTest,
                         ::testing::Values(ScheduleCase{0, {120, 240, 360}}, ScheduleCase{50, {170, 290}},
                                           ScheduleCase{119, {239, 359}}, ScheduleCase{300, {}}));

TEST_F(VeLearnTest, AnEarlierNewBinIsReplacedByACopyOfTheSource) {
  test::WriteAll(newBin_, std::vector<std::uint8_t>(kCalImageSize, 0xAB));
  StartLearning();
  ASSERT_TRUE(learn_->Stop());
  const auto written = test::ReadAll(newBin_), source = test::ReadAll(source_);
  ASSERT_EQ(written.size(), source.size());
  EXPECT_TRUE(std::equal(written.begin() + 0x2000, written.end(), source.begin() + 0x2000)) << "no stale byte survives";
}

}  // namespace
}  // namespace vantor
