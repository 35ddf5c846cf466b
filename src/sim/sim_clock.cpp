#include "sim/sim_clock.h"

#include <chrono>

namespace vantor::sim {

std::int64_t SteadySimClock::NowMicros() const {
  return std::chrono::duration_cast<std::chrono::microseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace vantor::sim
