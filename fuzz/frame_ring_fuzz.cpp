// The frame reader over the live receive ring.
#include <cstddef>
#include <cstdint>

#include "link/ecm_link.h"
#include "live/byte_source.h"
#include "live/frame_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantor::EcmLink link;
  for (std::size_t i = 0; i < size; ++i) link.StoreRxByte(data[i]);
  vantor::ByteSources sources(&link, vantor::ByteSourceId::Live);
  vantor::LogFrameRead frame;
  for (std::size_t reads = 0; link.RxAvailable() > 0; ++reads) {
    if (reads > size) __builtin_trap();  // a read that takes no byte would loop for ever
    if (vantor::ReadLogFrame(sources, frame) == vantor::kFrameEndOfData) break;
  }
  return 0;
}
