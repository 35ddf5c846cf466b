#pragma once
// Writes 0xFFRRGGBB pixels as an 8-bit RGB PNG through libpng.

#include <cstdint>
#include <string>
#include <vector>

namespace vantor::ui {

// The whole PNG file in memory; empty when the encoder fails.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::uint32_t* pixels);
// false with *error set when the file cannot be written. The image goes to a
// working name first and is renamed over path, so path is never left half written.
bool WritePng(const std::string& path, int width, int height, const std::uint32_t* pixels, std::string* error);

}  // namespace vantor::ui
