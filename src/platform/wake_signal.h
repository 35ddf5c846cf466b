#pragma once
// A doorbell between threads. Any thread rings it; a waiter notes the count
// first, then looks at whatever it waits for, and sleeps only if nobody has
// rung since the note: a ring between the look and the sleep is never lost.
// Rings carry no message; the waiter looks again after each one.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace vantor {

class WakeSignal {
 public:
  using Clock = std::chrono::steady_clock;

  std::uint64_t Count() const { return count_.load(std::memory_order_acquire); }
  void Ring();
  // Until a ring after `seen` was noted, or the deadline; true when rung.
  bool WaitAfter(std::uint64_t seen, Clock::time_point deadline);
  void WaitAfter(std::uint64_t seen);

 private:
  std::mutex mutex_;
  std::condition_variable rung_;
  std::atomic<std::uint64_t> count_{0};
};

}  // namespace vantor
