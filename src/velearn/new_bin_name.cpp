#include "velearn/new_bin_name.h"

#include <cctype>
#include <cstdio>

namespace vantor {
namespace {

std::string::size_type ExtensionDot(const std::string& name) {
  const auto dot = name.rfind('.');
  const auto slash = name.find_last_of("/\\");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string::npos;
  return dot;
}

bool AllDigits(const std::string& text) {
  for (unsigned char c : text)
    if (!std::isdigit(c)) return false;
  return true;
}

}  // namespace

std::string ProposeNewBinName(const std::string& sourceFileName, unsigned generation) {
  const auto dot = ExtensionDot(sourceFileName);
  std::string stem = sourceFileName.substr(0, dot);
  const bool hasExtension = dot != std::string::npos;
  const std::string extension = hasExtension ? sourceFileName.substr(dot + 1) : "bin";
  const auto underscore = stem.rfind('_');
  if (underscore != std::string::npos && AllDigits(stem.substr(underscore + 1))) stem.resize(underscore);
  char suffix[16];
  // The stored generation is 16 bits: the name wraps with it.
  std::snprintf(suffix, sizeof suffix, "_%05u", (generation + 1) & 0xFFFFu);
  return stem + suffix + "." + extension;
}

std::string NormalizeNewBinName(const std::string& chosen) {
  std::string name = chosen;
  if (!name.empty() && name.back() == '.') name.pop_back();
  if (ExtensionDot(name) == std::string::npos) name += ".bin";
  return name;
}

}  // namespace vantor
