#include "update/bin_naming.h"

#include <filesystem>

namespace vantor {

std::string UpdatedBinName(const std::string& sourcePath) {
  const std::filesystem::path source(sourcePath);
  const std::string extension = source.extension().string();  // with its dot, or empty
  std::filesystem::path name = source.stem();
  name += "_new.";
  name += extension.size() > 1 ? extension.substr(1) : std::string("bin");
  return (source.parent_path() / name).string();
}

}  // namespace vantor
