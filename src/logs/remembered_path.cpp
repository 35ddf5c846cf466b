#include "logs/remembered_path.h"

namespace vantor {

RememberedPath SplitRememberedPath(const std::string& path) {
  const std::size_t cut = path.find_last_of("/\\");
  if (cut == std::string::npos) return {path, path, std::string()};
  return {path, path.substr(cut + 1), path.substr(0, cut + 1)};
}

}  // namespace vantor
