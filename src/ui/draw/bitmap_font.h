#pragma once
// One-bit glyph bitmaps of the window fonts, baked from the system's
// fonts by vantor_font_baker so that drawing needs no font library.

#include <cstdint>
#include <span>

#include "ui/canvas.h"

namespace vantor::ui {

struct BitmapGlyph {
  char32_t code;
  std::uint8_t advance;
  std::int8_t left;     // bitmap origin relative to the pen position
  std::int8_t top;      // bitmap origin relative to the top of the cell
  std::uint8_t width;
  std::uint8_t height;
  std::uint32_t offset;  // into the font's bits; rows are padded to whole bytes
};

struct BitmapFont {
  int lineHeight;
  int ascent;
  std::span<const BitmapGlyph> glyphs;  // sorted by code
  const std::uint8_t* bits;
};

const BitmapFont& FontFor(FontId font);
const BitmapGlyph* FindGlyph(const BitmapFont& font, char32_t code);

}  // namespace vantor::ui
