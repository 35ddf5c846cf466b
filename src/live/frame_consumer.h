#pragma once
// The per-frame consumers of the frame processing loop: trip, gauges,
// VE learn, knock map and diagnostics. Each updates its own state on every
// frame and draws only when told (its display is on screen).

#include <cstdint>

namespace vantor {

enum class DisplayMode : int {
  Trip = 1,
  Gauges = 2,
  VeLearn = 3,
  SparkKnock = 4,
  Analysis = 5,
  Flash = 6,
  Diagnostic = 7,
};

enum class ConsumerSlot : int { Trip = 0, Gauges, VeLearn, Knock, Diagnostics, Count };

class FrameConsumer {
 public:
  virtual ~FrameConsumer() = default;
  // data: the 273 frame bytes; draw: 1 when this consumer's display is shown.
  virtual void OnFrame(const std::uint8_t* data, bool draw) = 0;
};

}  // namespace vantor
