#pragma once
// File names around VE learn: the proposed name of the new BIN and the
// clean-up of the name the user chose.

#include <string>

namespace vantor {

// "base_00012.bin" with generation 12 -> "base_00013.bin"; "base_v2.bin" with
// generation 0 -> "base_v2_00001.bin". Only the file name, no directory.
std::string ProposeNewBinName(const std::string& sourceFileName, unsigned generation);

// A chosen name ending in '.' loses the dot; one without extension gets ".bin".
std::string NormalizeNewBinName(const std::string& chosen);

}  // namespace vantor
