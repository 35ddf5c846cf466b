// The reply receiver over whatever the module might send.
#include <cstddef>
#include <cstdint>

#include "link/ecm_link.h"
#include "link/packets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vantor::EcmLink link(vantor::UpdateUtilityProfile());
  for (std::size_t i = 0; i < size; ++i) link.StoreRxByte(data[i]);
  // No more bytes will come: the waits give up at once instead of timing out.
  link.RequestShutdown();
  for (std::size_t calls = 0; link.RxAvailable() > 0; ++calls) {
    if (calls > size) __builtin_trap();  // a call that takes no byte would loop for ever
    if (vantor::ReceiveSlReply(link) != 0 && link.RxAvailable() < 2) break;
  }
  return 0;
}
