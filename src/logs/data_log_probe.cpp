#include "logs/data_log_probe.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "link/crc16.h"
#include "live/frame_reader.h"

namespace vantor {
namespace {

// The settings text is a few kilobytes; 64 KiB holds it and some 200 frames.
constexpr std::size_t kProbeBytes = 1 << 16;
constexpr std::size_t kTimeRecordSize = 27;

bool FramePassesAt(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  const std::uint8_t* frame = bytes.data() + at;
  if (frame[0] != 0x55 || frame[1] != 0xAA) return false;
  const std::uint16_t check = Crc16Prefixed(0x55, 0xAA, frame + 2, kFrameDataSize);
  return check == (frame[kLogFrameSize - 2] << 8 | frame[kLogFrameSize - 1]);
}

}  // namespace

AppendTarget ProbeAppendTarget(std::FILE* file) {
  std::vector<std::uint8_t> bytes(kProbeBytes);
  std::rewind(file);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  const bool failed = std::ferror(file) != 0;
  // An update stream must be positioned between reading and writing.
  if (std::fseek(file, 0, SEEK_END) != 0 || failed) return AppendTarget::Unreadable;
  if (bytes.empty()) return AppendTarget::Empty;
  if (bytes.size() < kTimeRecordSize || std::memcmp(bytes.data(), "TIME:", 5) != 0) return AppendTarget::NotADataLog;
  for (std::size_t at = kTimeRecordSize; at + kLogFrameSize <= bytes.size(); ++at)
    if (FramePassesAt(bytes, at)) return AppendTarget::DataLog;
  return AppendTarget::NotADataLog;
}

}  // namespace vantor
