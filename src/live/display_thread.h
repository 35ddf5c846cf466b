#pragma once
// The display thread: decides when a frame is due and runs the frame loop.
// Live: keeps the stream requested once a second, asks for the data log
// flush every 60 s and processes a frame when more than 360 bytes wait.
// Playback: one PlaybackStep per pass (the step rests as the rate wants).
// Analysis and none: idles. Between passes it sleeps on the byte sources'
// doorbell: until the ring has a frame due, the second ticks, the source
// changes, a suspension or a playback control wakes it.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

namespace vantor {

class ByteSources;
class EcmLink;
class FrameLoop;
struct DisplayState;
struct LogHooks;

constexpr std::uint32_t kFrameDueBytes = 360;
constexpr std::int32_t kFlushIntervalSeconds = 60;

class DisplayThread {
 public:
  // link and logHooks may be null (no live source, no recording).
  DisplayThread(FrameLoop& loop, ByteSources& sources, DisplayState& state, EcmLink* link, LogHooks* logHooks);
  ~DisplayThread();
  DisplayThread(const DisplayThread&) = delete;
  DisplayThread& operator=(const DisplayThread&) = delete;

  // Installed before Start. The keep-alive defaults to TxMsXmit 102. The
  // playback step rests itself (on the byte sources' doorbell) as it needs.
  void SetPlaybackStep(std::function<void()> step) { playbackStep_ = std::move(step); }
  void SetKeepAlive(std::function<void()> send) { keepAlive_ = std::move(send); }

  void Start();
  // Leaves the byte source at None (which wakes the thread wherever it
  // sleeps) and joins the thread. The program never needs to; tests do.
  void Stop();

  // One pass of the thread's loop, without the sleep that follows it.
  void RunOnePass() { Pass(); }

  // Sets displaySuspended, wakes the thread and waits until it is parked
  // between frames, at most for bound; false when it did not get there.
  bool Suspend(std::chrono::milliseconds bound);
  void Resume();


 private:
  // What the thread sleeps for after a pass.
  enum class Then { NextPass, Rest, AwaitFrame };
  Then Pass();
  Then LivePass();
  // True when displaySuspended holds this pass; the thread then counts as parked.
  bool HoldIfSuspended();

  FrameLoop& loop_;
  ByteSources& sources_;
  DisplayState& state_;
  EcmLink* link_;
  LogHooks* logHooks_;
  std::function<void()> playbackStep_;
  std::function<void()> keepAlive_;

  // Display thread only.
  std::int32_t lastKeepAlive_ = -1;
  std::int32_t lastFlush_ = -1;

  // Suspend numbers its requests; the thread answers the latest one it saw
  // while reading displaySuspended under the same lock, so an answer to an
  // earlier request never satisfies a later one.
  std::mutex parkMutex_;
  std::condition_variable parkedChanged_;
  std::uint64_t suspendRequests_ = 0;
  std::uint64_t parkedFor_ = 0;
  std::atomic<bool> running_{false};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace vantor
