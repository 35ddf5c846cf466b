#include "ui/draw/bitmap_font.h"

#include <algorithm>

namespace vantor::ui {

const BitmapGlyph* FindGlyph(const BitmapFont& font, char32_t code) {
  auto it = std::lower_bound(font.glyphs.begin(), font.glyphs.end(), code,
                             [](const BitmapGlyph& glyph, char32_t c) { return glyph.code < c; });
  if (it == font.glyphs.end() || it->code != code) return nullptr;
  return &*it;
}

}  // namespace vantor::ui
