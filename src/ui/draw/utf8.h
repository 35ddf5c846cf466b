#pragma once
// Walks the code points of UTF-8 text; a malformed byte stands for itself
// (Latin-1), so stray 8-bit text still shows.

#include <string_view>

namespace vantor::ui {

template <typename Visit>
void ForEachCodePoint(std::string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = i + extra < text.size();
    for (int k = 1; valid && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = code << 6 | (next & 0x3F);
    }
    if (!valid) {
      code = lead;
      extra = 0;
    }
    visit(code);
    i += 1 + extra;
  }
}

}  // namespace vantor::ui
