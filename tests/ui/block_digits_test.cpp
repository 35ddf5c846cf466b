#include "ui/draw/block_digits.h"

#include <gtest/gtest.h>

#include "recording_canvas.h"

namespace vantor::ui {
namespace {

constexpr int B = kBlankGlyph;

TEST(BlockDigits, DigitsWithLeadingBlanks) {
  struct Case {
    long value;
    int count, blankLeading;
    BlockDigitList digits;
  };
  const Case cases[] = {
      {0, 2, 1, {B, 0, B, B, B, B}},       {42, 2, 1, {4, 2, B, B, B, B}},    {800, 4, 1, {B, 8, 0, 0, B, B}},
      {5, 4, 2, {B, B, 0, 5, B, B}},       {234, 4, 2, {B, 2, 3, 4, B, B}},   {1034, 4, 2, {1, 0, 3, 4, B, B}},
      {12345, 4, 1, {9, 3, 4, 5, B, B}},   {12, 5, 2, {B, B, 0, 1, 2, B}},    {-3, 2, 1, {B, 0, B, B, B, B}},
  };
  for (const Case& c : cases) EXPECT_EQ(BlockDigitsOf(c.value, c.count, c.blankLeading), c.digits) << c.value;
}

// Each glyph row is one background cell row: count them.
int RowsDrawn(const testing::RecordingCanvas& canvas) {
  int rows = 0;
  for (const auto& fill : canvas.fills)
    if (fill.colour == colour::kBackground && fill.rect.Height() == kOemCellHeight) ++rows;
  return rows;
}

TEST(BlockDigits, OnlyChangedDigitsAreRedrawn) {
  testing::RecordingCanvas canvas;
  BlockNumber number(GlyphSize::Large, 122, {460, 540, 640}, 600, 2, 1);
  number.Draw(canvas, 245, true);
  EXPECT_EQ(RowsDrawn(canvas), 4 * 7);  // three digits and the point
  canvas.Clear();
  number.Draw(canvas, 246, false);
  EXPECT_EQ(RowsDrawn(canvas), 7);
  ASSERT_FALSE(canvas.fills.empty());
  EXPECT_EQ(canvas.fills.front().rect.left, 640);
  canvas.Clear();
  number.Draw(canvas, 246, false);
  EXPECT_EQ(RowsDrawn(canvas), 0);
}

}  // namespace
}  // namespace vantor::ui
