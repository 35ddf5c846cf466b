#include "platform/wake_signal.h"

namespace vantor {

void WakeSignal::Ring() {
  {
    std::lock_guard lock(mutex_);
    count_.fetch_add(1, std::memory_order_acq_rel);
  }
  rung_.notify_all();
}

bool WakeSignal::WaitAfter(std::uint64_t seen, Clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  return rung_.wait_until(lock, deadline, [&] { return count_.load(std::memory_order_acquire) != seen; });
}

void WakeSignal::WaitAfter(std::uint64_t seen) {
  std::unique_lock lock(mutex_);
  rung_.wait(lock, [&] { return count_.load(std::memory_order_acquire) != seen; });
}

}  // namespace vantor
