#pragma once
// Playback: feeds a recorded .dat log through the frame loop at the rate of
// [PBSPD], with pause, back-up by one-second steps and a progress count.
//
// Threads: Start/Stop, pause, rate and back-up requests come from the
// user-interface thread and wake the display thread; PlaybackStep,
// PlaybackEndReached and PlaybackFrameDone run on the display thread, which
// rests between frames for the rate and, while paused or at the end of the
// file, until woken. StopPlayback returns only after the display thread has
// left the file, and closes it then.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "logs/export_hooks.h"  // kFramesPerProgressStep
#include "settings/settings.h"

namespace vantor {

class ByteSources;
class DataLogRecorder;
class FrameLoop;
class LogFileReader;
struct LiveData;

constexpr std::int64_t kBackUpStepBytes = 4709;  // 17 frames, one second of recording
constexpr int kPlaybackDelayExtraMs = 7;

struct PlaybackHooks {
  // Message box (text, caption). A read error is reported from the display
  // thread: the hook must not block there.
  std::function<void(const std::string& text, const std::string& caption)> showMessage;
  // Progress bar: created with the range 0..maximum, stepped by one (display
  // thread, must not block), removed.
  std::function<void(int maximum)> progressCreate;
  std::function<void()> progressStep;
  std::function<void()> progressRemove;
  // Menu items and redraw: playing grays "&DataLog..." and "&Playback...".
  std::function<void(bool playing)> playingChanged;
  // The end of the file was reached: redraw (display thread, must not block).
  std::function<void()> endReached;
  // Writes the configuration after [PLAY...] changed; empty for the command-line tool.
  std::function<void()> saveSettings;
  // The rest after a step (kRestUntilWoken: until something changes);
  // replaceable for tests. By default the display thread sleeps on the
  // byte sources' doorbell, which the playback controls ring.
  std::function<void(std::chrono::milliseconds)> rest;
};

// A rest with no end: paused, or at the end of the file.
constexpr std::chrono::milliseconds kRestUntilWoken = std::chrono::milliseconds::max();

constexpr const char* kPlaybackOpenErrorText = "Can not open Playback Data File";
constexpr const char* kPlaybackReadErrorText =
    "Error Reading the Playback Data File\n\nThe playback ends where the file could not be read.";

// Where a back-up of count steps from position lands: count x 4709 bytes
// back, or the start of the file when that would be before it.
std::int64_t BackUpTarget(std::int64_t position, int count);
// The progress bar's range maximum for a file of size bytes.
int ProgressMaximum(std::int64_t size);

class Playback {
 public:
  // Installs the end hook on sources and the frame-done hook on loop (before
  // the display thread starts). recorder may be null.
  Playback(ByteSources& sources, FrameLoop& loop, const LiveData& live, DataLogRecorder* recorder,
           Settings& settings, PlaybackHooks hooks);
  ~Playback();
  Playback(const Playback&) = delete;
  Playback& operator=(const Playback&) = delete;

  // Opens path and switches the frame reader to it. A running recording is
  // stopped first. False (message shown) when the file can not be opened.
  // Does nothing while playing.
  bool StartPlayback(const std::string& path);
  // Back to the live source; the file is closed once the display thread has
  // left it. Does nothing unless playing.
  void StopPlayback();

  void SetPaused(bool paused);
  bool Paused() const { return paused_.load(std::memory_order_acquire); }
  // "<-BackUp": 2 per click, 6 for the click that completes a double click.
  // The first request while none is pending holds the accumulators until the
  // playback is back at the frame shown now.
  void AddBackUp(int steps);
  // The rate slider: [PBSPD] 0..100.
  void SetRate(int pbSpd);

  bool Playing() const { return playing_.load(std::memory_order_acquire); }
  bool AtEnd() const { return atEnd_.load(std::memory_order_acquire); }
  std::int64_t PlaySize() const { return playSize_; }

  // ---- display thread ----
  void PlaybackStep();
  void PlaybackEndReached();
  void PlaybackFrameDone();

 private:
  void RememberPlayPath(const std::string& path);
  void Rest(std::chrono::milliseconds duration);
  // True when a rest cut short (by a suspension, say) is not over yet: the
  // step rests on instead of playing, so the pace does not change.
  bool RestingOn();
  void ServeBackUp();

  ByteSources& sources_;
  FrameLoop& loop_;
  const LiveData& live_;
  DataLogRecorder* recorder_;
  Settings& settings_;
  PlaybackHooks hooks_;

  // Held by the display thread while it works on the file, so that Stop can
  // wait for it to leave.
  std::mutex fileMutex_;
  std::unique_ptr<LogFileReader> file_;
  std::int64_t playSize_ = 0;

  std::atomic<bool> playing_{false};
  std::atomic<bool> atEnd_{false};
  std::atomic<bool> paused_{false};
  std::atomic<int> backUpCount_{0};
  std::atomic<int> rate_{50};
  int progressFrames_ = 0;  // display thread
  // When the rate's rest ends (steady clock ticks); 0 after a start.
  std::atomic<std::chrono::steady_clock::rep> restEnd_{0};
};

}  // namespace vantor
