#include "update/path_line.h"

namespace vantor {

std::string PathLine(const std::string& label, const std::string& path, std::size_t width) {
  constexpr std::size_t kEllipsis = 3;
  if (label.size() + path.size() <= width || width < label.size() + kEllipsis + 1) return label + path;
  const std::size_t keep = width - label.size() - kEllipsis;
  return label + "..." + path.substr(path.size() - keep);
}

}  // namespace vantor
