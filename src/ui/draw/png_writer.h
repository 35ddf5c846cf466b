#pragma once
// Writes 0xFFRRGGBB pixels as an 8-bit RGB PNG, compressed with a small
// built-in deflate (fixed codes): no compression library needed.

#include <cstdint>
#include <string>
#include <vector>

namespace vantor::ui {

std::vector<std::uint8_t> EncodePng(int width, int height, const std::uint32_t* pixels);
// false with *error set when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::uint32_t* pixels, std::string* error);

}  // namespace vantor::ui
