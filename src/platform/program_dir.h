#pragma once
// Where the running program file lies; the configuration files live beside it.

#include <filesystem>

namespace vantor {

// The directory of the running executable, ending with a separator; empty
// when the platform cannot tell.
std::filesystem::path ProgramDirectory();

}  // namespace vantor
