#pragma once
// The few words the user-interface thread and the display thread share:
// the one-second tick, the suspension of frame processing during a display
// switch, and the display on screen. Each has one writer.

#include <atomic>
#include <cstdint>

#include "live/frame_consumer.h"

namespace vantor {

struct DisplayState {
  // Seconds since start; advanced by the seconds ticker.
  std::atomic<std::int32_t> secondsTick{0};
  // 1 holds the display thread between frames.
  std::atomic<std::uint32_t> displaySuspended{0};
  std::atomic<int> displayMode{static_cast<int>(DisplayMode::Gauges)};

  DisplayMode Mode() const { return static_cast<DisplayMode>(displayMode.load(std::memory_order_acquire)); }
  void SetMode(DisplayMode mode) { displayMode.store(static_cast<int>(mode), std::memory_order_release); }
  std::int32_t Tick() const { return secondsTick.load(std::memory_order_acquire); }
};

}  // namespace vantor
