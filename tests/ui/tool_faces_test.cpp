#include <gtest/gtest.h>

#include <array>

#include "ui/draw/bank_select_face.h"
#include "ui/draw/malf_codes_face.h"
#include "recording_canvas.h"

namespace vantor::ui {
namespace {

TEST(BankClickTest, SwitchesOnlyWhenPressAndReleaseShareASquare) {
  struct Case {
    int pressX, releaseX;
    int bank;  // -1: nothing is sent
  };
  const Case cases[] = {{22, 22, 0},   {30, 71, 0},
                        {130, 175, -1},  // pressed on 2, released on 3
                        {21, 30, -1},    // left of the first square
                        {380, 421, 7},
                        {422, 425, -1}};  // past the last square
  for (const Case& c : cases) EXPECT_EQ(ClickedBank(c.pressX, c.releaseX).value_or(-1), c.bank) << c.pressX;
}

TEST(BankSquareTest, HoverIndexAndHighlightMoves) {
  EXPECT_EQ(BankSquareAt(21), -1);
  EXPECT_EQ(BankSquareAt(22), 0);
  EXPECT_EQ(BankSquareAt(72), 1);
  EXPECT_EQ(BankSquareAt(430), 8);
  testing::RecordingCanvas canvas;
  BankSelectFace face;
  face.Hover(canvas, 80);
  EXPECT_EQ(face.Hovered(), 1);
  EXPECT_EQ(canvas.frames, 0);  // nothing to wipe, a dotted outline drawn
  EXPECT_FALSE(canvas.fills.empty());
  canvas.Clear();
  face.Hover(canvas, 90);  // same square: nothing drawn
  EXPECT_TRUE(canvas.fills.empty());
  face.Leave(canvas);
  EXPECT_EQ(face.Hovered(), -1);
  EXPECT_EQ(canvas.frames, 1);  // the old outline wiped
}

TEST(MalfCodesFaceTest, OnlyChangedLampsAreRefilled) {
  std::array<std::uint8_t, 273> frame{};
  testing::RecordingCanvas canvas;
  MalfCodesFace face;
  EXPECT_EQ(face.Update(canvas, frame.data()), kMalfLamps);  // first frame: every lamp
  frame[19] = 0x40;  // "MAP2   31", column 1
  canvas.Clear();
  EXPECT_EQ(face.Update(canvas, frame.data()), 1);
  ASSERT_EQ(canvas.fills.size(), 1u);
  EXPECT_EQ(canvas.fills[0].rect, (Rect{80, 145, 93, 154}));
  EXPECT_EQ(face.Update(canvas, frame.data()), 0);
}

}  // namespace
}  // namespace vantor::ui
