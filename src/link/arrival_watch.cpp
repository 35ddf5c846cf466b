#include "link/arrival_watch.h"

namespace vantor {

void ArrivalWatches::Watch(WakeSignal& bell, std::uint32_t count) {
  {
    std::lock_guard lock(mutex_);
    Slot* free = nullptr;
    Slot* own = nullptr;
    for (Slot& slot : slots_) {
      if (slot.bell == &bell) own = &slot;
      if (slot.bell == nullptr && !free) free = &slot;
    }
    Slot& slot = own ? *own : free ? *free : slots_[0];
    slot.bell = &bell;
    slot.need.store(count == 0 ? 1 : count, std::memory_order_relaxed);
  }
  // Pairs with the fence in Announce: either the writer sees this watch, or
  // the reader's look at the ring that follows sees the bytes stored.
  std::atomic_thread_fence(std::memory_order_seq_cst);
}

void ArrivalWatches::End(const WakeSignal& bell) {
  std::lock_guard lock(mutex_);
  for (Slot& slot : slots_) {
    if (slot.bell != &bell) continue;
    slot.need.store(0, std::memory_order_relaxed);
    slot.bell = nullptr;
  }
}

void ArrivalWatches::Announce(std::uint32_t available) {
  std::atomic_thread_fence(std::memory_order_seq_cst);
  for (Slot& slot : slots_) {
    const std::uint32_t need = slot.need.load(std::memory_order_relaxed);
    if (need == 0 || available < need) continue;
    std::lock_guard lock(mutex_);
    if (slot.bell == nullptr || slot.need.load(std::memory_order_relaxed) != need) continue;
    slot.need.store(0, std::memory_order_relaxed);
    slot.bell->Ring();
    slot.bell = nullptr;
  }
}

}  // namespace vantor
