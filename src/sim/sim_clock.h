#pragma once
// The simulated ECM's time base: the steady clock, or a clock that tests move by hand.

#include <atomic>
#include <cstdint>

namespace vantor::sim {

class SimClock {
 public:
  virtual ~SimClock() = default;
  virtual std::int64_t NowMicros() const = 0;
};

class SteadySimClock : public SimClock {
 public:
  std::int64_t NowMicros() const override;
};

class ManualSimClock : public SimClock {
 public:
  std::int64_t NowMicros() const override { return now_.load(std::memory_order_acquire); }
  void Advance(std::int64_t micros) { now_.fetch_add(micros, std::memory_order_acq_rel); }

 private:
  std::atomic<std::int64_t> now_{0};
};

}  // namespace vantor::sim
