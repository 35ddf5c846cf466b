#pragma once
// A remembered file is kept as three settings values: the full path, the
// file name, and the directory with its trailing separator.

#include <string>

namespace vantor {

struct RememberedPath {
  std::string full;
  std::string name;
  std::string directory;  // ends with the separator, empty when the path has none
};

// Splits at the last '/' or '\\'.
RememberedPath SplitRememberedPath(const std::string& path);

}  // namespace vantor
