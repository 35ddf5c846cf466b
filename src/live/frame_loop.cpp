#include "live/frame_loop.h"

#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "settings/settings.h"

namespace vantor {
namespace {

using Slot = ConsumerSlot;

// The consumer on screen comes first (drawing); the others follow.
struct FeedOrder {
  DisplayMode mode;
  std::array<Slot, 5> slots;
};

constexpr std::array<FeedOrder, 5> kFeedOrders{{
    {DisplayMode::Trip, {Slot::Trip, Slot::Gauges, Slot::VeLearn, Slot::Knock, Slot::Diagnostics}},
    {DisplayMode::Gauges, {Slot::Gauges, Slot::Trip, Slot::VeLearn, Slot::Knock, Slot::Diagnostics}},
    {DisplayMode::VeLearn, {Slot::VeLearn, Slot::Gauges, Slot::Trip, Slot::Knock, Slot::Diagnostics}},
    {DisplayMode::SparkKnock, {Slot::Knock, Slot::Gauges, Slot::Trip, Slot::VeLearn, Slot::Diagnostics}},
    {DisplayMode::Diagnostic, {Slot::Diagnostics, Slot::Gauges, Slot::Trip, Slot::VeLearn, Slot::Knock}},
}};

const FeedOrder* OrderFor(DisplayMode mode) {
  for (const FeedOrder& order : kFeedOrders) {
    if (order.mode == mode) return &order;
  }
  return nullptr;  // Analysis and Flash feed nobody
}

}  // namespace

FrameLoop::FrameLoop(ByteSources& sources, LiveData& live, AdcChannels& adc, DisplayState& state)
    : sources_(sources), live_(live), adc_(adc), state_(state) {}

void FrameLoop::ApplySettings(const Settings& settings) {
  knockAlert_.store(settings.knockAlert, std::memory_order_release);
  autoVSave_.store(settings.autoVSave, std::memory_order_release);
  autoVTime_.store(settings.autoVTime, std::memory_order_release);
}

void FrameLoop::SetConsumer(ConsumerSlot slot, FrameConsumer* consumer) {
  std::lock_guard lock(consumersMutex_);
  consumers_[static_cast<int>(slot)] = consumer;
}

void FrameLoop::SetMalfunctionCodes(FrameConsumer* window) {
  std::lock_guard lock(consumersMutex_);
  malfunctionCodes_ = window;
}

void FrameLoop::SetBankSelect(BankSelectView* window) {
  std::lock_guard lock(consumersMutex_);
  bankSelect_ = window;
  lastBankShown_ = -1;
}

void FrameLoop::SetCatchUp(std::int32_t targetSeconds, std::int32_t targetFrames) {
  if (targetFrames == kCatchUpLastFrameOfSecond) {
    ++targetSeconds;
    targetFrames = 0;
  }
  targetSeconds_.store(targetSeconds, std::memory_order_relaxed);
  targetFrames_.store(targetFrames, std::memory_order_relaxed);
  catchUp_.store(true, std::memory_order_release);
}

int FrameLoop::ProcessNextFrame() {
  RunAutoUpdate();
  const int status = ReadLogFrame(sources_, frame_);
  if (status != kFrameOk) return status;
  const std::uint8_t* data = frame_.data;

  const RunTime runTime = DecodeRunTime(data);
  const QualifierResult qualifier = UpdateRunningQualifier(live_, data, runTime);
  if (qualifier.dropped && hooks_.tripResetSampling) hooks_.tripResetSampling();
  if (qualifier.endCatchUp) ClearCatchUp();
  UpdateRunTime(live_, data, runTime);
  UpdateConfiguration(live_, data);
  adc_.ProcessAdcChannels(data, false, live_);
  KnockAlert(data);
  if (hooks_.activityStep) hooks_.activityStep();

  std::lock_guard lock(consumersMutex_);
  FeedConsumers(data, runTime.totalSeconds);
  RefreshWindows(data);
  framesProcessed_.fetch_add(1, std::memory_order_acq_rel);
  return kFrameOk;
}

void FrameLoop::RunAutoUpdate() {
  if (autoVSave_.load(std::memory_order_acquire) == 0) return;
  const std::int32_t tick = state_.Tick();
  if (tick < nextAutoUpdate_.load(std::memory_order_acquire)) return;
  nextAutoUpdate_.store(tick + autoVTime_.load(std::memory_order_acquire) * 60, std::memory_order_release);
  if (hooks_.veAutoUpdate) hooks_.veAutoUpdate();
}

void FrameLoop::KnockAlert(const std::uint8_t* data) {
  if (data[frame::kRetard] == 0 || live_.engineRunning.load() != 1) return;
  if (knockAlert_.load(std::memory_order_acquire) != 1) return;
  if (hooks_.knockSound) hooks_.knockSound();
}

void FrameLoop::FeedConsumers(const std::uint8_t* data, std::int32_t runSeconds) {
  if (CatchingUp()) {
    FeedCatchUp(data, runSeconds);
    return;
  }
  if (playbackFrameDone_) playbackFrameDone_();
  FeedInDisplayOrder(data);
}

void FrameLoop::FeedInDisplayOrder(const std::uint8_t* data) {
  const FeedOrder* order = OrderFor(state_.Mode());
  if (!order) return;
  bool first = true;
  for (Slot slot : order->slots) {
    Call(slot, data, first);
    first = false;
  }
}

// The accumulators see no frame until the hold ends; only the gauges or the
// diagnostics on screen follow the replayed frames.
void FrameLoop::FeedCatchUp(const std::uint8_t* data, std::int32_t runSeconds) {
  if (runSeconds >= targetSeconds_.load(std::memory_order_relaxed) &&
      live_.framesThisSecond.load() >= targetFrames_.load(std::memory_order_relaxed)) {
    ClearCatchUp();
  }
  const DisplayMode mode = state_.Mode();
  if (mode == DisplayMode::Gauges) Call(Slot::Gauges, data, true);
  if (mode == DisplayMode::Diagnostic) Call(Slot::Diagnostics, data, true);
}

void FrameLoop::RefreshWindows(const std::uint8_t* data) {
  if (malfunctionCodes_) malfunctionCodes_->OnFrame(data, true);
  if (!bankSelect_) return;
  const int bank = live_.activeBank.load();
  if (bank != lastBankShown_) {
    bankSelect_->ShowActiveBank(bank);
    lastBankShown_ = bank;
  }
}

void FrameLoop::Call(ConsumerSlot slot, const std::uint8_t* data, bool draw) {
  if (FrameConsumer* consumer = consumers_[static_cast<int>(slot)]) consumer->OnFrame(data, draw);
}

}  // namespace vantor
