#include "sim/replay_source.h"

#include <cstring>

#include "live/byte_source.h"

namespace vantor::sim {

bool ReplaySource::Load(const std::string& path, std::string* error) {
  LogFileReader file;
  if (!file.Open(path)) {
    *error = "can not open " + path;
    return false;
  }
  ByteSources sources(nullptr, ByteSourceId::Playback);
  sources.SetPlaybackFile(true, &file);
  frames_.clear();
  next_ = 0;
  LogFrameRead read;
  for (;;) {
    const int result = ReadLogFrame(sources, read);
    if (result == kFrameEndOfData) break;
    if (result == kFrameOk) {
      frames_.emplace_back();
      std::memcpy(frames_.back().data(), read.data, kFrameDataSize);
    }
  }
  sources.SetPlaybackFile(false, nullptr);
  if (frames_.empty()) {
    *error = "no good frame in " + path;
    return false;
  }
  return true;
}

void ReplaySource::NextFrame(std::uint8_t* data) {
  std::memcpy(data, frames_[next_].data(), kFrameDataSize);
  next_ = (next_ + 1) % frames_.size();
}

}  // namespace vantor::sim
