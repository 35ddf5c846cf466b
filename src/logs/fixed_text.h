#pragma once
// Fixed-point texts as "%*.*f" writes them in the C locale, whatever locale
// the process runs in: every export uses '.' as its decimal point.

#include <charconv>
#include <cstddef>
#include <cstring>

namespace vantor {

// Field width (0 = no padding) and places after the point.
struct FixedFormat {
  int width;
  int precision;
};

// Writes value right-aligned in format.width into out (no terminator) and
// returns the length; the text is cut to capacity.
inline std::size_t FixedText(char* out, std::size_t capacity, double value, FixedFormat format) {
  char digits[400];
  const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, format.precision);
  const std::size_t length = result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - digits) : 0;
  std::size_t size = 0;
  for (std::size_t pad = length; pad < static_cast<std::size_t>(format.width) && size < capacity; ++pad)
    out[size++] = ' ';
  const std::size_t copied = length < capacity - size ? length : capacity - size;
  std::memcpy(out + size, digits, copied);
  return size + copied;
}

}  // namespace vantor
