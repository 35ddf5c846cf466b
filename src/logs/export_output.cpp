#include "logs/export_output.h"

#include "platform/device_path.h"

namespace vantor {

bool ExportOutput::Open(const std::string& path) {
  if (IsDevicePath(path)) {
    device_.reset(std::fopen(path.c_str(), "wb"));
    stream_ = device_.get();
  } else if (working_.Create(path)) {
    stream_ = working_.Get();
  }
  if (stream_) std::setvbuf(stream_, nullptr, _IOFBF, 1 << 20);
  return stream_ != nullptr;
}

bool ExportOutput::Close() {
  stream_ = nullptr;
  if (!device_) return working_.Close();
  const bool flushed = std::fflush(device_.get()) == 0;
  return std::fclose(device_.release()) == 0 && flushed;
}

}  // namespace vantor
