#include "link/link_tick.h"

#include <chrono>

namespace vantor {

LinkTick::~LinkTick() { Stop(); }

void LinkTick::Start() {
  std::lock_guard lock(mutex_);
  if (running_) return;
  stopRequested_ = false;
  running_ = true;
  thread_ = std::thread([this] { Run(); });
}

void LinkTick::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (!running_) return;
    stopRequested_ = true;
  }
  wake_.notify_all();
  thread_.join();
  std::lock_guard lock(mutex_);
  running_ = false;
}

void LinkTick::Run() {
  using clock = std::chrono::steady_clock;
  auto next = clock::now() + std::chrono::milliseconds(100);
  std::unique_lock lock(mutex_);
  while (!stopRequested_) {
    if (wake_.wait_until(lock, next, [this] { return stopRequested_; })) break;
    Advance();
    next += std::chrono::milliseconds(100);  // fixed period: no drift
  }
}

}  // namespace vantor
