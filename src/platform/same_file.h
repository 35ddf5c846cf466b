#pragma once
// Whether two paths name one file, by identity: through links, ".." and
// other spellings. False when either does not exist.

#include <filesystem>

namespace vantor {

inline bool IsSameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace vantor
