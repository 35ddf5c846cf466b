#pragma once
// Whether a path names a device or a stream (/dev/stdout, a pipe, a
// terminal) rather than a file of its own: such an output is written as it
// is, never replaced through a working file.

#include <filesystem>
#include <string>
#include <system_error>

namespace vantor {

inline bool IsDevicePath(const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (!error && fs::exists(status) && !fs::is_regular_file(status)) return true;
  // /dev/stdout of a shell redirected into a file leads to that regular file
  // through a system link, but it is still the stream that is meant.
  const std::string text = path.generic_string();
  const bool systemName = text.rfind("/dev/", 0) == 0 || text.rfind("/proc/", 0) == 0;
  return systemName && fs::is_symlink(fs::symlink_status(path, error));
}

}  // namespace vantor
