#pragma once
// Faults the simulated ECM can be told to commit, for tests.

#include <cstdint>

namespace vantor::sim {

struct SimFaults {
  // Byte n of the next frame or reply queued is left out / has its bits inverted (-1: none).
  int dropByteOfNextOutput = -1;
  int corruptByteOfNextOutput = -1;
  // The next n frames carry a wrong check value.
  int badCheckFrames = 0;
  // Replies are held back this long (past the host's time-outs when large).
  std::int64_t replyDelayMicros = 0;
  // This "S" command number is refused with 'N' (-1: none).
  int refuseCommand = -1;
  // The stream goes on after a stop request or the switch to flash mode.
  bool ignoreStop = false;
};

}  // namespace vantor::sim
