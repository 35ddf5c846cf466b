#include "platform/program_dir.h"

#include <cstdlib>
#include <system_error>
#include <vector>

#include "platform/working_file.h"

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

std::filesystem::path UserSettingsDirectory() {
#ifdef _WIN32
  const char* appData = std::getenv("APPDATA");
  if (!appData || !*appData) return {};
  return std::filesystem::path(appData) / "Vantor" / "";
#else
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
    return std::filesystem::path(config) / "vantor" / "";
  const char* home = std::getenv("HOME");
  if (!home || !*home) return {};
  return std::filesystem::path(home) / ".config" / "vantor" / "";
#endif
}

std::filesystem::path SettingsDirectoryFor(const std::filesystem::path& programDirectory,
                                           const std::filesystem::path& userDirectory) {
  // Trying is the one test that holds on every platform and file system.
  WorkingFile probe;
  if (!programDirectory.empty() && probe.Create(programDirectory / "settings")) return programDirectory;
  if (userDirectory.empty()) return {};
  std::error_code error;
  std::filesystem::create_directories(userDirectory, error);
  return std::filesystem::is_directory(userDirectory, error) ? userDirectory : std::filesystem::path();
}

std::filesystem::path SettingsDirectory() {
  static const std::filesystem::path chosen = SettingsDirectoryFor(ProgramDirectory(), UserSettingsDirectory());
  return chosen;
}

}  // namespace vantor
