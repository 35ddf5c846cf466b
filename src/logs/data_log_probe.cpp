#include "logs/data_log_probe.h"

#include <sys/stat.h>

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

// Reading a pipe or terminal would wait for bytes that are not a file's start.
bool IsRegularFile(std::FILE* file) {
#ifdef _WIN32
  struct _stat64 info;
  return _fstat64(_fileno(file), &info) == 0 && (info.st_mode & _S_IFMT) == _S_IFREG;
#else
  struct stat info;
  return fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
#endif
}

}  // namespace

AppendTarget ProbeAppendTarget(std::FILE* file) {
  if (!IsRegularFile(file)) return AppendTarget::Device;
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
