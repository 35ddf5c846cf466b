#include "platform/file_attributes.h"

#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vantor {

#ifdef _WIN32

namespace {

int ChangeAttributes(const std::filesystem::path& path, DWORD set, DWORD clear) {
  const DWORD current = GetFileAttributesW(path.c_str());
  if (current == INVALID_FILE_ATTRIBUTES) return -1;
  DWORD wanted = (current | set) & ~clear;
  if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
  return SetFileAttributesW(path.c_str(), wanted) ? 0 : -1;
}

}  // namespace

int SetHiddenAttribute(const std::filesystem::path& path) {
  return ChangeAttributes(path, FILE_ATTRIBUTE_HIDDEN, 0);
}

int SetReadOnly(const std::filesystem::path& path, bool readOnly) {
  return readOnly ? ChangeAttributes(path, FILE_ATTRIBUTE_READONLY, 0)
                  : ChangeAttributes(path, 0, FILE_ATTRIBUTE_READONLY);
}

#else

int SetHiddenAttribute(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::exists(path, error) ? 0 : -1;
}

int SetReadOnly(const std::filesystem::path& path, bool readOnly) {
  using std::filesystem::perms;
  std::error_code error;
  if (readOnly) {
    std::filesystem::permissions(path, perms::owner_write | perms::group_write | perms::others_write,
                                 std::filesystem::perm_options::remove, error);
  } else {
    std::filesystem::permissions(path, perms::owner_write, std::filesystem::perm_options::add, error);
  }
  return error ? -1 : 0;
}

#endif

}  // namespace vantor
