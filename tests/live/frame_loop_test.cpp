#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/ecm_link.h"
#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "settings/settings.h"
#include "sim/log_builder.h"

namespace vantor {
namespace {

using Events = std::vector<std::string>;

// Notes each frame (name, "*" when drawn) and each bank redraw in one list.
class Recorder : public FrameConsumer, public BankSelectView {
 public:
  Recorder(std::string name, Events& events) : name_(std::move(name)), events_(events) {}
  void OnFrame(const std::uint8_t*, bool draw) override { events_.push_back(name_ + (draw ? "*" : "")); }
  void ShowActiveBank(int bank) override { events_.push_back("bank" + std::to_string(bank)); }

 private:
  std::string name_;
  Events& events_;
};

struct FrameSpec {
  unsigned runSeconds = 100;
  bool ecmRunning = true;
  std::uint8_t retard = 0;
  std::uint8_t bank = 0x80;
};

std::vector<std::uint8_t> Envelope(const FrameSpec& spec) {
  std::vector<std::uint8_t> data(kFrameDataSize, 0);
  data[frame::kStatus1] = spec.ecmRunning ? 0x80 : 0;
  data[frame::kRunTime] = static_cast<std::uint8_t>(spec.runSeconds >> 8);
  data[frame::kRunTime + 1] = static_cast<std::uint8_t>(spec.runSeconds);
  data[frame::kRetard] = spec.retard;
  data[frame::kEngineConfig] = 0x88;  // 8 cylinders, 2-bar
  data[frame::kRefPeriod] = 0x03;     // 983040 / 983 = 1000 rpm
  data[frame::kRefPeriod + 1] = 0xD7;
  data[frame::kBankInfo] = spec.bank;
  return simtest::Envelope(data);
}

// The frame loop over the live receive ring, which the test fills itself.
class FrameLoopTest : public ::testing::Test {
 protected:
  FrameLoopTest() {
    adc.BuildActiveChannels(settings);
    loop.ApplySettings(settings);
    loop.SetHooks({[this] { events.push_back("auto"); }, [this] { events.push_back("tripreset"); },
                   [this] { events.push_back("beep"); }, [this] { events.push_back("spin"); }});
    loop.SetPlaybackFrameDone([this] { events.push_back("played"); });
  }

  void RegisterAll() {
    loop.SetConsumer(ConsumerSlot::Trip, &trip);
    loop.SetConsumer(ConsumerSlot::Gauges, &gauges);
    loop.SetConsumer(ConsumerSlot::VeLearn, &ve);
    loop.SetConsumer(ConsumerSlot::Knock, &knock);
    loop.SetConsumer(ConsumerSlot::Diagnostics, &diag);
  }

  void Push(const FrameSpec& spec) {
    for (std::uint8_t b : Envelope(spec)) link.StoreRxByte(b);
  }

  int Process(const FrameSpec& spec) {
    Push(spec);
    return loop.ProcessNextFrame();
  }

  // Frames with the ECM's running bit until the qualifier says running.
  void StartEngine() {
    for (int i = 0; i < 35; ++i) ASSERT_EQ(Process({}), kFrameOk);
    ASSERT_EQ(live.engineRunning.load(), 1);
    events.clear();
  }

  Events ConsumerEvents() const {
    Events only;
    for (const auto& e : events) {
      if (e != "spin" && e != "played" && e != "auto") only.push_back(e);
    }
    return only;
  }

  Events events;
  Recorder trip{"trip", events}, gauges{"gauges", events}, ve{"ve", events}, knock{"knock", events},
      diag{"diag", events}, malf{"malf", events}, bankSelect{"", events};
  Settings settings;
  EcmLink link;
  ByteSources sources{&link, ByteSourceId::Live};
  LiveData live;
  AdcChannels adc;
  DisplayState state;
  FrameLoop loop{sources, live, adc, state};
};

TEST_F(FrameLoopTest, OnScreenConsumerComesFirstAndDrawsThenTheOthersInTheirOrder) {
  RegisterAll();
  const std::vector<std::pair<DisplayMode, Events>> expected = {
      {DisplayMode::Trip, {"trip*", "gauges", "ve", "knock", "diag"}},
      {DisplayMode::Gauges, {"gauges*", "trip", "ve", "knock", "diag"}},
      {DisplayMode::VeLearn, {"ve*", "gauges", "trip", "knock", "diag"}},
      {DisplayMode::SparkKnock, {"knock*", "gauges", "trip", "ve", "diag"}},
      {DisplayMode::Diagnostic, {"diag*", "gauges", "trip", "ve", "knock"}},
  };
  for (const auto& [mode, order] : expected) {
    state.SetMode(mode);
    events.clear();
    ASSERT_EQ(Process({}), kFrameOk);
    EXPECT_EQ(ConsumerEvents(), order) << "mode " << static_cast<int>(mode);
  }
}

TEST_F(FrameLoopTest, HooksRunInTheirPlaceAroundTheConsumers) {
  settings.autoVSave = 1;
  loop.ApplySettings(settings);
  loop.SetConsumer(ConsumerSlot::Gauges, &gauges);
  loop.SetMalfunctionCodes(&malf);
  loop.SetBankSelect(&bankSelect);
  ASSERT_EQ(Process({}), kFrameOk);
  EXPECT_EQ(events, (Events{"auto", "spin", "played", "gauges*", "malf*", "bank0"}));
}

TEST_F(FrameLoopTest, AbsentConsumersAreSkipped) {
  loop.SetConsumer(ConsumerSlot::Knock, &knock);
  loop.SetConsumer(ConsumerSlot::Trip, &trip);
  ASSERT_EQ(Process({}), kFrameOk);
  loop.SetConsumer(ConsumerSlot::Trip, nullptr);
  ASSERT_EQ(Process({}), kFrameOk);
  EXPECT_EQ(ConsumerEvents(), (Events{"trip", "knock", "knock"}));
}

TEST_F(FrameLoopTest, AnalysisAndFlashUpdateLiveDataButFeedNoConsumer) {
  RegisterAll();
  for (DisplayMode mode : {DisplayMode::Analysis, DisplayMode::Flash}) {
    state.SetMode(mode);
    events.clear();
    ASSERT_EQ(Process({.runSeconds = 3725}), kFrameOk);
    EXPECT_EQ(ConsumerEvents(), Events{});
    EXPECT_EQ(live.rpm.load(), 1000);
    EXPECT_EQ(live.runMinutes.load(), 2);
  }
}

TEST_F(FrameLoopTest, BadOrMissingFrameDoesNothing) {
  RegisterAll();
  EXPECT_EQ(loop.ProcessNextFrame(), kFrameEndOfData);
  auto bytes = Envelope({});
  bytes[100] ^= 1;
  for (std::uint8_t b : bytes) link.StoreRxByte(b);
  EXPECT_EQ(loop.ProcessNextFrame(), kFrameBadCheck);
  EXPECT_EQ(events, Events{});
  EXPECT_EQ(loop.FramesProcessed(), 0u);
}

TEST_F(FrameLoopTest, BankSelectIsRedrawnOnlyWhenTheActiveBankChanges) {
  loop.SetBankSelect(&bankSelect);
  ASSERT_EQ(Process({.bank = 0x82}), kFrameOk);
  ASSERT_EQ(Process({.bank = 0x82}), kFrameOk);
  ASSERT_EQ(Process({.bank = 0x85}), kFrameOk);
  EXPECT_EQ(ConsumerEvents(), (Events{"bank2", "bank5"}));
}

TEST_F(FrameLoopTest, KnockBeepsOnEveryKnockFrameOnlyWhileRunningAndEnabled) {
  const auto beeps = [&] { return std::count(events.begin(), events.end(), "beep"); };
  ASSERT_EQ(Process({.retard = 5}), kFrameOk);
  EXPECT_EQ(beeps(), 0) << "engine not running yet";
  StartEngine();
  for (std::uint8_t retard : {0, 5, 1}) ASSERT_EQ(Process({.retard = retard}), kFrameOk);
  EXPECT_EQ(beeps(), 2);
  settings.knockAlert = 0;
  loop.ApplySettings(settings);
  ASSERT_EQ(Process({.retard = 5}), kFrameOk);
  EXPECT_EQ(beeps(), 2);
}

TEST_F(FrameLoopTest, TripSamplingIsResetWhenTheQualifierDrops) {
  StartEngine();
  ASSERT_EQ(Process({.ecmRunning = false}), kFrameOk);
  ASSERT_EQ(Process({.ecmRunning = false}), kFrameOk);
  EXPECT_EQ(std::count(events.begin(), events.end(), "tripreset"), 1);
}

TEST_F(FrameLoopTest, AutoUpdateRunsEveryAutoVTimeMinutesOfTheTick) {
  settings.autoVSave = 1;
  settings.autoVTime = 2;
  loop.ApplySettings(settings);
  loop.SetNextAutoUpdate(10);
  for (const auto& [tick, autos] : {std::pair{9, 0}, {10, 1}, {129, 1}}) {
    state.secondsTick = tick;
    ASSERT_EQ(Process({}), kFrameOk);
    EXPECT_EQ(std::count(events.begin(), events.end(), "auto"), autos) << tick;
  }
  state.secondsTick = 130;
  EXPECT_EQ(loop.ProcessNextFrame(), kFrameEndOfData) << "checked even when no frame follows";
  EXPECT_EQ(std::count(events.begin(), events.end(), "auto"), 2);
}

// ---- the back-up catch-up hold ----

TEST_F(FrameLoopTest, CatchUpFeedsOnlyTheGaugesUntilTheTargetFrame) {
  RegisterAll();
  ASSERT_EQ(Process({.runSeconds = 9}), kFrameOk);
  loop.SetCatchUp(10, 2);
  events.clear();
  ASSERT_EQ(Process({.runSeconds = 9}), kFrameOk);
  ASSERT_EQ(Process({.runSeconds = 10}), kFrameOk);  // frame 0 of second 10
  ASSERT_EQ(Process({.runSeconds = 10}), kFrameOk);  // 1
  EXPECT_TRUE(loop.CatchingUp());
  ASSERT_EQ(Process({.runSeconds = 10}), kFrameOk);  // 2: the hold ends, this frame still held
  EXPECT_FALSE(loop.CatchingUp());
  EXPECT_EQ(ConsumerEvents(), (Events{"gauges*", "gauges*", "gauges*", "gauges*"}));
  events.clear();
  ASSERT_EQ(Process({.runSeconds = 10}), kFrameOk);
  EXPECT_EQ(ConsumerEvents(), (Events{"gauges*", "trip", "ve", "knock", "diag"}));
}

TEST_F(FrameLoopTest, CatchUpOnTheTripDisplayRedrawsNothing) {
  RegisterAll();
  state.SetMode(DisplayMode::Trip);
  loop.SetCatchUp(50, 0);
  events.clear();
  for (int i = 0; i < 5; ++i) ASSERT_EQ(Process({.runSeconds = 40}), kFrameOk);
  EXPECT_EQ(events, (Events{"spin", "spin", "spin", "spin", "spin"})) << "no consumer, no progress step";
}

TEST_F(FrameLoopTest, CatchUpTargetAtTheLastFrameOfASecondMovesToTheNextSecond) {
  RegisterAll();
  state.SetMode(DisplayMode::Diagnostic);
  loop.SetCatchUp(20, 16);
  for (int i = 0; i < 17; ++i) ASSERT_EQ(Process({.runSeconds = 20}), kFrameOk);
  EXPECT_TRUE(loop.CatchingUp()) << "frame 16 of second 20 is not yet the target";
  ASSERT_EQ(Process({.runSeconds = 21}), kFrameOk);
  EXPECT_FALSE(loop.CatchingUp());
}

TEST_F(FrameLoopTest, EngineStoppedEndsTheCatchUpHold) {
  loop.SetCatchUp(500, 0);
  ASSERT_EQ(Process({.runSeconds = 10, .ecmRunning = true}), kFrameOk);
  EXPECT_TRUE(loop.CatchingUp());
  ASSERT_EQ(Process({.runSeconds = 10, .ecmRunning = false}), kFrameOk);
  EXPECT_FALSE(loop.CatchingUp());
}

}  // namespace
}  // namespace vantor
