#pragma once
// A fixed-capacity text line assembled field by field without allocation or
// printf: the exports format tens of thousands of rows a second.

#include <cstddef>
#include <cstring>
#include <string_view>

namespace vantor {

class RowText {
 public:
  static constexpr std::size_t kCapacity = 2048;

  void Clear() { size_ = 0; }
  std::size_t Size() const { return size_; }
  std::string_view View() const { return {buffer_, size_}; }
  const char* Data() const { return buffer_; }

  void Append(char c) {
    if (size_ < kCapacity) buffer_[size_++] = c;
  }
  void Append(std::string_view text) {
    const std::size_t n = text.size() < kCapacity - size_ ? text.size() : kCapacity - size_;
    std::memcpy(buffer_ + size_, text.data(), n);
    size_ += n;
  }
  void AppendRepeated(char c, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) Append(c);
  }
  // As "%*d" for a value that is not negative.
  void AppendUnsigned(unsigned value, int width) {
    char digits[12];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    for (int pad = width - n; pad > 0; --pad) Append(' ');
    while (n > 0) Append(digits[--n]);
  }
  // As "%02d" for a value that is not negative.
  void AppendTwoDigits(unsigned value) {
    if (value < 10) Append('0');
    AppendUnsigned(value, 1);
  }
  // Right-aligned in width, as "%*s".
  void AppendRightAligned(std::string_view text, int width) {
    for (int pad = width - static_cast<int>(text.size()); pad > 0; --pad) Append(' ');
    Append(text);
  }

 private:
  char buffer_[kCapacity];
  std::size_t size_ = 0;
};

}  // namespace vantor
