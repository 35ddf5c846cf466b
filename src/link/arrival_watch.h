#pragma once
// The hand-over of received bytes to a ring reader that sleeps until enough
// have come: the reader sets a watch (its bell and a count of bytes) and
// then looks at the ring itself; the communication thread, after storing a
// batch, rings each bell whose count is reached, once. Two readers may
// watch at a time, as one takes the ring over from the other.

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

#include "platform/wake_signal.h"

namespace vantor {

class ArrivalWatches {
 public:
  // The reader's thread, before it looks at the ring.
  void Watch(WakeSignal& bell, std::uint32_t count);
  void End(const WakeSignal& bell);
  // The writer, after the bytes are stored: `available` is the ring's count.
  void Announce(std::uint32_t available);

 private:
  struct Slot {
    std::atomic<std::uint32_t> need{0};  // 0: a free watch
    WakeSignal* bell = nullptr;          // under mutex_
  };
  std::mutex mutex_;
  std::array<Slot, 2> slots_;
};

}  // namespace vantor
