#include "live/seconds_ticker.h"

#include <chrono>

#include "live/display_state.h"

namespace vantor {

void SecondsTicker::Start() {
  if (thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = false;
  }
  thread_ = std::thread([this] { Run(); });
}

void SecondsTicker::Stop() {
  if (!thread_.joinable()) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

// Ticks follow a steady schedule, so a late wake-up does not shift the next ones.
void SecondsTicker::Run() {
  auto next = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  std::unique_lock lock(mutex_);
  while (!wake_.wait_until(lock, next, [this] { return stop_; })) {
    state_.secondsTick.fetch_add(1, std::memory_order_acq_rel);
    if (ticked_) ticked_();
    next += std::chrono::seconds(1);
  }
}

}  // namespace vantor
