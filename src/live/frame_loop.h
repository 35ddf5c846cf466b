#pragma once
// FrameLoop: what the display thread does with one frame. ProcessNextFrame
// reads the next frame from the current byte source, updates LiveData and the
// analogue channels, and hands the frame to every registered consumer, the
// one on screen first with its draw flag set.
//
// Threads: ProcessNextFrame runs on the display thread only. Consumers and
// windows may be registered from any thread at any time; a consumer is
// never called after its registration has been replaced (a consumer must
// not register consumers from inside OnFrame). Hooks are installed before
// the display thread starts.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "live/display_state.h"
#include "live/frame_consumer.h"
#include "live/frame_reader.h"

namespace vantor {

class AdcChannels;
class ByteSources;
struct LiveData;
struct Settings;

// The Bank Select window: redrawn when the active bank changes.
class BankSelectView {
 public:
  virtual ~BankSelectView() = default;
  virtual void ShowActiveBank(int bank) = 0;
};

struct FrameLoopHooks {
  std::function<void()> veAutoUpdate;       // VE learn auto-update; acts only while learning
  std::function<void()> tripResetSampling;  // the running qualifier dropped
  std::function<void()> knockSound;         // the exclamation sound; must not block
  std::function<void()> activityStep;       // the activity spinner
};

constexpr int kCatchUpLastFrameOfSecond = 16;

class FrameLoop {
 public:
  FrameLoop(ByteSources& sources, LiveData& live, AdcChannels& adc, DisplayState& state);

  void SetHooks(FrameLoopHooks hooks) { hooks_ = std::move(hooks); }
  // The playback's progress count: called after each frame fed normally.
  void SetPlaybackFrameDone(std::function<void()> hook) { playbackFrameDone_ = std::move(hook); }
  // Copies [KNOCKALERT], [AUTOVSAVE] and [AUTOVTIME]; call again after they change.
  void ApplySettings(const Settings& settings);

  // nullptr removes. Waits for a frame being fed to finish.
  void SetConsumer(ConsumerSlot slot, FrameConsumer* consumer);
  void SetMalfunctionCodes(FrameConsumer* window);
  void SetBankSelect(BankSelectView* window);

  // The result of ReadLogFrame: kFrameOk when a frame was processed.
  int ProcessNextFrame();
  // The frame last read with its time and mark texts (display thread).
  const LogFrameRead& LastFrame() const { return frame_; }

  // Back-up catch-up hold: frames go only to the gauges or diagnostics on
  // screen until the run time reaches targetSeconds and the frame count in
  // that second reaches targetFrames. A target at the last frame of a second
  // (16) means the first frame of the next second.
  void SetCatchUp(std::int32_t targetSeconds, std::int32_t targetFrames);
  void ClearCatchUp() { catchUp_.store(false, std::memory_order_release); }
  bool CatchingUp() const { return catchUp_.load(std::memory_order_acquire); }

  // secondsTick of the next VE learn auto-update (set when VE learn starts).
  void SetNextAutoUpdate(std::int32_t tick) { nextAutoUpdate_.store(tick, std::memory_order_release); }

  std::uint64_t FramesProcessed() const { return framesProcessed_.load(std::memory_order_acquire); }

 private:
  void RunAutoUpdate();
  void KnockAlert(const std::uint8_t* data);
  void FeedConsumers(const std::uint8_t* data, std::int32_t runSeconds);
  void FeedInDisplayOrder(const std::uint8_t* data);
  void FeedCatchUp(const std::uint8_t* data, std::int32_t runSeconds);
  void RefreshWindows(const std::uint8_t* data);
  void Call(ConsumerSlot slot, const std::uint8_t* data, bool draw);

  ByteSources& sources_;
  LiveData& live_;
  AdcChannels& adc_;
  DisplayState& state_;
  FrameLoopHooks hooks_;
  std::function<void()> playbackFrameDone_;

  std::atomic<std::int32_t> knockAlert_{1};
  std::atomic<std::int32_t> autoVSave_{0};
  std::atomic<std::int32_t> autoVTime_{5};
  std::atomic<std::int32_t> nextAutoUpdate_{0};

  std::atomic<bool> catchUp_{false};
  std::atomic<std::int32_t> targetSeconds_{0};
  std::atomic<std::int32_t> targetFrames_{0};

  std::mutex consumersMutex_;
  std::array<FrameConsumer*, static_cast<int>(ConsumerSlot::Count)> consumers_{};
  FrameConsumer* malfunctionCodes_ = nullptr;
  BankSelectView* bankSelect_ = nullptr;
  int lastBankShown_ = -1;

  LogFrameRead frame_{};
  std::atomic<std::uint64_t> framesProcessed_{0};
};

}  // namespace vantor
