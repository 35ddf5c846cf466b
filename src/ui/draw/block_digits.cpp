#include "ui/draw/block_digits.h"

#include <algorithm>
#include <cstring>

namespace vantor::ui {
namespace {

constexpr int kLargeRows = 7;
constexpr int kSmallRows = 4;

constexpr const char* kLargeGlyphs[10][kLargeRows] = {
    {"#######", "##...##", "##...##", "##...##", "##...##", "##...##", "#######"},
    {"..###..", "...##..", "...##..", "...##..", "...##..", "...##..", "..####."},
    {"#######", ".....##", ".....##", "#######", "##.....", "##.....", "#######"},
    {"#######", ".....##", ".....##", ".######", ".....##", ".....##", "#######"},
    {"##.....", "##..##.", "##..##.", "#######", "....##.", "....##.", "....##."},
    {"#######", "##.....", "##.....", "#######", ".....##", ".....##", "#######"},
    {"#######", "##.....", "##.....", "#######", "##...##", "##...##", "#######"},
    {"#######", "^....##", ".....##", ".....##", ".....##", ".....##", ".....##"},
    {"#######", "##...##", "##...##", "#######", "##...##", "##...##", "#######"},
    {"#######", "##...##", "##...##", "#######", ".....##", ".....##", ".....##"},
};
constexpr const char* kLargeBlank = ".......";
constexpr const char* kLargePoint[kLargeRows] = {"....", "....", "....", "....", "....", "....", ".##."};

constexpr const char* kSmallGlyphs[10][kSmallRows] = {
    {"____", "#..#", "#..#", "#__#"}, {".._.", "..#.", "..#.", "..#."}, {"____", "...#", "#^^^", "#___"},
    {"____", "...#", ".^^#", "___#"}, {"_...", "#.#.", "^^#^", "..#."}, {"____", "#...", "^^^#", "___#"},
    {"____", "#...", "#^^#", "#__#"}, {"____", "^..#", "...#", "...#"}, {"____", "#..#", "#^^#", "#__#"},
    {"____", "#..#", "^^^#", "...#"},
};
constexpr const char* kSmallBlank = "....";
constexpr const char* kSmallPoint[kSmallRows] = {"...", "...", "...", "_.."};

int RowsOf(GlyphSize size) { return size == GlyphSize::Large ? kLargeRows : kSmallRows; }

}  // namespace

void DrawBlockRow(Canvas& canvas, int x, int y, const char* cells) {
  const int count = static_cast<int>(std::strlen(cells));
  canvas.FillRect(Rect{x, y, x + count * kOemCellWidth, y + kOemCellHeight}, colour::kBackground);
  constexpr int kHalf = kOemCellHeight / 2;
  for (int i = 0; i < count; ++i) {
    const int left = x + i * kOemCellWidth, right = left + kOemCellWidth;
    switch (cells[i]) {
      case '#': canvas.FillRect(Rect{left, y, right, y + kOemCellHeight}, colour::kText); break;
      case '^': canvas.FillRect(Rect{left, y, right, y + kHalf}, colour::kText); break;
      case '_': canvas.FillRect(Rect{left, y + kHalf, right, y + kOemCellHeight}, colour::kText); break;
      default: break;
    }
  }
}

void DrawBlockDigit(Canvas& canvas, GlyphSize size, int x, int top, int digit) {
  const bool blank = digit == kBlankGlyph;
  const int d = std::clamp(digit, 0, 9);
  for (int row = 0; row < RowsOf(size); ++row) {
    const char* cells = size == GlyphSize::Large ? (blank ? kLargeBlank : kLargeGlyphs[d][row])
                                                 : (blank ? kSmallBlank : kSmallGlyphs[d][row]);
    DrawBlockRow(canvas, x, top + row * kOemCellHeight, cells);
  }
}

void DrawBlockPoint(Canvas& canvas, GlyphSize size, int x, int top) {
  for (int row = 0; row < RowsOf(size); ++row)
    DrawBlockRow(canvas, x, top + row * kOemCellHeight, size == GlyphSize::Large ? kLargePoint[row] : kSmallPoint[row]);
}

void DrawBlockPointBlank(Canvas& canvas, GlyphSize size, int x, int top) {
  const char* blank = size == GlyphSize::Large ? "...." : "...";
  for (int row = 0; row < RowsOf(size); ++row) DrawBlockRow(canvas, x, top + row * kOemCellHeight, blank);
}

BlockDigitList BlockDigitsOf(long value, int count, int blankLeading) {
  BlockDigitList digits{};
  digits.fill(kBlankGlyph);
  count = std::clamp(count, 1, kMaxBlockDigits);
  value = std::max(value, 0L);
  long scale = 1;
  for (int i = 1; i < count; ++i) scale *= 10;
  for (int i = 0; i < count; ++i, scale /= 10) {
    const long digit = i == 0 ? value / scale : value / scale % 10;
    digits[i] = static_cast<int>(std::min(digit, 9L));
  }
  if (count > 1 && digits[0] == 0) {
    digits[0] = kBlankGlyph;
    if (blankLeading >= 2 && count > 2 && digits[1] == 0) digits[1] = kBlankGlyph;
  }
  return digits;
}

BlockNumber::BlockNumber(GlyphSize size, int top, std::initializer_list<int> digitXs, int pointX, int pointAfter,
                         int blankLeading)
    : size_(size), top_(top), pointX_(pointX), pointAfter_(pointAfter), blankLeading_(blankLeading) {
  for (int x : digitXs)
    if (count_ < kMaxBlockDigits) xs_[count_++] = x;
  Forget();
}

// Left to right, so a point's blank cells lie under the digit after it.
void BlockNumber::Draw(Canvas& canvas, long value, bool full) {
  const BlockDigitList digits = BlockDigitsOf(value, count_, blankLeading_);
  for (int i = 0; i < count_; ++i) {
    if (full && pointX_ >= 0 && i == pointAfter_) DrawBlockPoint(canvas, size_, pointX_, top_);
    if (!full && digits[i] == last_[i]) continue;
    DrawBlockDigit(canvas, size_, xs_[i], top_, digits[i]);
    last_[i] = digits[i];
  }
}

}  // namespace vantor::ui
