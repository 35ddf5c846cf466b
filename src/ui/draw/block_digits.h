#pragma once
// The trip display's block digits: glyphs of full, upper-half and lower-half
// block characters (code page 437 0xDB, 0xDF, 0xDC) in the OEM fixed font's
// 8 x 12 character cell, one row of characters under the other. A number
// keeps the digit it last drew at every position and redraws only those
// that change, unless a full redraw is asked for.

#include <array>
#include <cstdint>
#include <initializer_list>

#include "ui/canvas.h"

namespace vantor::ui {

constexpr int kOemCellWidth = 8;
constexpr int kOemCellHeight = 12;

enum class GlyphSize { Large, Small };

// Glyph numbers besides the digits 0..9.
constexpr int kBlankGlyph = -1;
constexpr int kNeverDrawn = -2;

// One row of a glyph: # full block, ^ upper half, _ lower half, . blank.
void DrawBlockRow(Canvas& canvas, int x, int y, const char* cells);
// Digit 0..9 (clamped) or kBlankGlyph, top-left at (x, top).
void DrawBlockDigit(Canvas& canvas, GlyphSize size, int x, int top, int digit);
void DrawBlockPoint(Canvas& canvas, GlyphSize size, int x, int top);
// A point-sized blank (the distance's point when it goes to whole units).
void DrawBlockPointBlank(Canvas& canvas, GlyphSize size, int x, int top);

constexpr int kMaxBlockDigits = 6;
using BlockDigitList = std::array<int, kMaxBlockDigits>;

// The digits of value over count positions, most significant first, each
// clamped to 0..9. The first position is blank when its digit is 0; with
// blankLeading 2 the second is blank too when both are 0.
BlockDigitList BlockDigitsOf(long value, int count, int blankLeading);

class BlockNumber {
 public:
  // digitXs: left edges of the digit positions; pointX (or -1) the fixed
  // point, drawn only with the full flag, between the digits before and after it.
  BlockNumber(GlyphSize size, int top, std::initializer_list<int> digitXs, int pointX, int pointAfter,
              int blankLeading);

  void Draw(Canvas& canvas, long value, bool full);
  // The next Draw redraws every position.
  void Forget() { last_.fill(kNeverDrawn); }
  int DigitCount() const { return count_; }

 private:
  GlyphSize size_;
  int top_;
  std::array<int, kMaxBlockDigits> xs_{};
  int count_ = 0;
  int pointX_;
  int pointAfter_;  // the point follows this many digits
  int blankLeading_;
  BlockDigitList last_{};
};

}  // namespace vantor::ui
