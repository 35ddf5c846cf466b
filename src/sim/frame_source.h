#pragma once
// Where the simulated ECM's live frames come from: the engine model or a replayed log.

#include <cstdint>

#include "live/frame_reader.h"

namespace vantor::sim {

class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // Fills the 273 data bytes of the next frame; each call is one frame period later.
  virtual void NextFrame(std::uint8_t* data) = 0;
  // Whether byte 256 should carry the ECM's running bank.
  virtual bool ReportsRunningBank() const = 0;
};

}  // namespace vantor::sim
