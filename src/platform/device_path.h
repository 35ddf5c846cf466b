#pragma once
// Whether a path names a device or a stream (/dev/stdout, a pipe, a
// terminal) rather than a file of its own: such an output is written as it
// is, never replaced through a working file.

#include <filesystem>
#include <string>
#include <system_error>

namespace vantor {

inline bool IsDevicePath(const std::filesystem::path& path) {
  // /dev/stdout of a shell redirected into a file leads to that regular
  // file, but it is still the stream that is meant.
  const std::string text = path.generic_string();
  if (text.rfind("/dev/", 0) == 0 || text.rfind("/proc/", 0) == 0) return true;
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

}  // namespace vantor
