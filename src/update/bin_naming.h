#pragma once
// The name a converted BIN file gets: "_new" before the extension, in the
// same directory; "bin" as the extension when the source has none.

#include <string>

namespace vantor {

std::string UpdatedBinName(const std::string& sourcePath);

}  // namespace vantor
