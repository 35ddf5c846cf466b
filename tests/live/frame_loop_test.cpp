#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/ecm_link.h"
#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "support/log_builder.h"
#include "settings/settings.h"

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
  testlog::FrameData data{};
  data[frame::kStatus1] = spec.ecmRunning ? 0x80 : 0;
  testlog::SetWord(data, frame::kRunTime, spec.runSeconds);
  data[frame::kRetard] = spec.retard;
  data[frame::kEngineConfig] = 0x88;  // 8 cylinders, 2-bar
  testlog::SetWord(data, frame::kRefPeriod, 983);  // 1000 rpm
  data[frame::kBankInfo] = spec.bank;
  return testlog::FrameEnvelope({data.begin(), data.end()});
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
    for (auto [slot, consumer] : {std::pair{ConsumerSlot::Trip, &trip}, {ConsumerSlot::Gauges, &gauges},
                                  {ConsumerSlot::VeLearn, &ve}, {ConsumerSlot::Knock, &knock},
                                  {ConsumerSlot::Diagnostics, &diag}})
      loop.SetConsumer(slot, consumer);
  }

  void Frames(int n, const FrameSpec& spec = {}) {
    for (int i = 0; i < n; ++i) {
      for (std::uint8_t b : Envelope(spec)) link.StoreRxByte(b);
      ASSERT_EQ(loop.ProcessNextFrame(), kFrameOk);
    }
  }

  // Frames with the ECM's running bit until the qualifier says running.
  void StartEngine() {
    Frames(35);
    ASSERT_EQ(live.engineRunning.load(), 1);
    events.clear();
  }

  Events ConsumerEvents() const {
    Events only;
    std::copy_if(events.begin(), events.end(), std::back_inserter(only),
                 [](const std::string& e) { return e != "spin" && e != "played" && e != "auto"; });
    return only;
  }
  long Count(const std::string& event) const { return std::count(events.begin(), events.end(), event); }

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
      {DisplayMode::Analysis, {}},
  };
  unsigned minutes = 0;
  for (const auto& [mode, order] : expected) {
    state.SetMode(mode);
    events.clear();
    Frames(1, {.runSeconds = 60 * ++minutes});
    EXPECT_EQ(ConsumerEvents(), order) << "mode " << static_cast<int>(mode);
    EXPECT_EQ(live.runMinutes.load(), static_cast<int>(minutes)) << "live data follows in every mode";
  }
}

TEST_F(FrameLoopTest, HooksRunInTheirPlaceAroundTheConsumers) {
  settings.autoVSave = 1;
  loop.ApplySettings(settings);
  loop.SetConsumer(ConsumerSlot::Gauges, &gauges);
  loop.SetMalfunctionCodes(&malf);
  loop.SetBankSelect(&bankSelect);
  Frames(1, {.bank = 0x82});
  EXPECT_EQ(events, (Events{"auto", "spin", "played", "gauges*", "malf*", "bank2"}));
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

// A beep on every knock frame, only while running; the trip
// computer's sampling is reset once when the qualifier drops.
TEST_F(FrameLoopTest, KnockBeepsAndTripResetFollowTheRunningQualifier) {
  Frames(1, {.retard = 5});
  EXPECT_EQ(Count("beep"), 0) << "engine not running yet";
  StartEngine();
  for (std::uint8_t retard : {0, 5, 1}) Frames(1, {.retard = retard});
  EXPECT_EQ(Count("beep"), 2);
  EXPECT_EQ(Count("tripreset"), 0);
  Frames(2, {.ecmRunning = false});
  EXPECT_EQ(Count("tripreset"), 1);
}

TEST_F(FrameLoopTest, AutoUpdateRunsEveryAutoVTimeMinutesOfTheTick) {
  settings.autoVSave = 1;
  settings.autoVTime = 2;
  loop.ApplySettings(settings);
  loop.SetNextAutoUpdate(10);
  for (const auto& [tick, autos] : {std::pair{9, 0}, {10, 1}, {129, 1}}) {
    state.secondsTick = tick;
    Frames(1);
    EXPECT_EQ(Count("auto"), autos) << tick;
  }
  state.secondsTick = 130;
  EXPECT_EQ(loop.ProcessNextFrame(), kFrameEndOfData) << "checked even when no frame follows";
  EXPECT_EQ(Count("auto"), 2);
}

// ---- the back-up catch-up hold ----

TEST_F(FrameLoopTest, CatchUpFeedsOnlyTheGaugesUntilTheTargetFrame) {
  RegisterAll();
  Frames(1, {.runSeconds = 9});
  loop.SetCatchUp(10, 2);
  events.clear();
  Frames(1, {.runSeconds = 9});
  Frames(2, {.runSeconds = 10});  // frames 0 and 1 of second 10
  EXPECT_TRUE(loop.CatchingUp());
  Frames(1, {.runSeconds = 10});  // 2: the hold ends, this frame still held
  EXPECT_FALSE(loop.CatchingUp());
  EXPECT_EQ(ConsumerEvents(), Events(4, "gauges*"));
  events.clear();
  Frames(1, {.runSeconds = 10});
  EXPECT_EQ(ConsumerEvents(), (Events{"gauges*", "trip", "ve", "knock", "diag"}));
}

}  // namespace
}  // namespace vantor
