#ifndef _WIN32

#include "platform/wake_pipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>

namespace vantor {

WakePipe::WakePipe() {
  int ends[2];
  if (::pipe(ends) != 0) return;
  for (int end : ends) {
    ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
    ::fcntl(end, F_SETFD, FD_CLOEXEC);
  }
  readEnd_ = ends[0];
  writeEnd_ = ends[1];
}

WakePipe::~WakePipe() {
  if (readEnd_ >= 0) ::close(readEnd_);
  if (writeEnd_ >= 0) ::close(writeEnd_);
}

void WakePipe::Ring() {
  const std::uint8_t byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(writeEnd_, &byte, 1);
}

void WakePipe::Drain() {
  std::uint8_t sink[64];
  while (::read(readEnd_, sink, sizeof sink) > 0) {
  }
}

}  // namespace vantor

#endif  // !_WIN32
