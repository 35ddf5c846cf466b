#pragma once
// LinkTick: a counter of 100 ms ticks, the time base of the reply receiver.
// A periodic thread advances it while started; tests advance it by hand.
// Each advance rings the bell given at construction, so that a wait with a
// limit in ticks looks at the clock again.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/wake_signal.h"

namespace vantor {

class LinkTick {
 public:
  explicit LinkTick(WakeSignal* advanced = nullptr) : advanced_(advanced) {}
  ~LinkTick();
  LinkTick(const LinkTick&) = delete;
  LinkTick& operator=(const LinkTick&) = delete;

  std::uint32_t Now() const { return ticks_.load(std::memory_order_acquire); }
  void Reset() { ticks_.store(0, std::memory_order_release); }
  void Advance(std::uint32_t n = 1) {
    ticks_.fetch_add(n, std::memory_order_acq_rel);
    if (advanced_) advanced_->Ring();
  }

  // Start the 100 ms periodic source (idempotent); Stop joins it.
  void Start();
  void Stop();
  bool Running() const { return running_; }

 private:
  void Run();

  WakeSignal* advanced_;
  std::atomic<std::uint32_t> ticks_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopRequested_ = false;
  bool running_ = false;
  std::thread thread_;
};

}  // namespace vantor
