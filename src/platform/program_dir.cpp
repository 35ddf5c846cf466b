#include "platform/program_dir.h"

#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vantor {
namespace {

std::filesystem::path ExecutablePath() {
#ifdef _WIN32
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), n));
    buffer.resize(buffer.size() * 2);  // truncated: try a larger buffer
  }
#else
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : path;
#endif
}

}  // namespace

std::filesystem::path ProgramDirectory() {
  const std::filesystem::path executable = ExecutablePath();
  if (executable.empty() || !executable.has_parent_path()) return {};
  return executable.parent_path() / "";  // appending an empty name leaves the trailing separator
}

}  // namespace vantor
