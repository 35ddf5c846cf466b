#pragma once
// Waits (with a generous bound) for a frame in a link's receive ring.

#include <functional>

#include "link/ecm_link.h"
#include "live/byte_source.h"
#include "live/frame_reader.h"
#include "sim/sim_wire.h"

namespace vantor::livetest {

// Reads frames from the live ring until one satisfies pred.
inline bool WaitForFrame(EcmLink& link, const std::function<bool(const LogFrameRead&)>& pred =
                                            [](const LogFrameRead&) { return true; }) {
  ByteSources sources(&link, ByteSourceId::Live);
  LogFrameRead frame;
  return simtest::WaitFor([&] {
    while (link.RxAvailable() > kLogFrameSize)
      if (ReadLogFrame(sources, frame) == kFrameOk && pred(frame)) return true;
    return false;
  });
}

}  // namespace vantor::livetest
