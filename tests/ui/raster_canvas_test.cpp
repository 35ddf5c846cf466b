#include "ui/draw/raster_canvas.h"

#include <gtest/gtest.h>

#include <array>

namespace vantor::ui {
namespace {

TEST(RasterCanvas, FillsAndTracksTheChangedArea) {
  RasterCanvas canvas(40, 30);
  EXPECT_TRUE(canvas.TakeDirty().Empty());
  canvas.FillRect(Rect{2, 3, 6, 8}, Rgb{1, 2, 3});
  EXPECT_EQ(canvas.PixelAt(2, 3), (Rgb{1, 2, 3}));
  EXPECT_EQ(canvas.PixelAt(6, 3), colour::kBackground);  // right edge excluded
  EXPECT_EQ(canvas.TakeDirty(), (Rect{2, 3, 6, 8}));
  EXPECT_TRUE(canvas.TakeDirty().Empty());
}

TEST(RasterCanvas, ThinLinesLeaveOutTheirEndPoint) {
  RasterCanvas canvas(10, 10);
  canvas.Line(Point{1, 1}, Point{5, 1}, Pen{Rgb{255, 0, 0}, 1});
  EXPECT_EQ(canvas.PixelAt(4, 1), (Rgb{255, 0, 0}));
  EXPECT_EQ(canvas.PixelAt(5, 1), colour::kBackground);
}

// A pen of width w covers x - w/2 .. x + (w-1)/2 across its line.
TEST(RasterCanvas, WidePensCoverAsAGeometricPenDoes) {
  struct Case {
    int width, first, last;
  };
  for (const Case& c : {Case{1, 10, 10}, Case{2, 9, 10}, Case{3, 9, 11}}) {
    RasterCanvas canvas(20, 20);
    canvas.Line(Point{10, 5}, Point{10, 15}, Pen{colour::kText, c.width});
    canvas.Line(Point{2, 10}, Point{8, 10}, Pen{colour::kText, c.width});
    SCOPED_TRACE(::testing::Message() << "width " << c.width);
    for (int i = 6; i < 14; ++i) {
      const bool covered = i >= c.first && i <= c.last;
      EXPECT_EQ(canvas.PixelAt(i, 12) == colour::kText, covered) << "x " << i;  // across the vertical line
      EXPECT_EQ(canvas.PixelAt(4, i) == colour::kText, covered) << "y " << i;   // across the horizontal one
    }
  }
}

TEST(RasterCanvas, DrawingOutsideIsClipped) {
  RasterCanvas canvas(10, 10);
  canvas.Line(Point{-20, -20}, Point{30, 30}, Pen{Rgb{9, 9, 9}, 3});
  canvas.FillRect(Rect{-5, -5, 50, 2}, Rgb{7, 7, 7});
  canvas.InvertRect(Rect{-5, 8, 50, 20});
  canvas.ScrollRect(Rect{-3, -3, 40, 40}, 2, 1);
  SUCCEED();
}

TEST(RasterCanvas, SidewaysScrollKeepsTheUncoveredStrip) {
  struct Case {
    int dx;
    std::array<int, 6> row;
  };
  for (const Case& c : {Case{-4, {4, 5, 2, 3, 4, 5}}, Case{2, {0, 1, 0, 1, 2, 3}}, Case{-6, {0, 1, 2, 3, 4, 5}}}) {
    RasterCanvas canvas(6, 2);
    for (int x = 0; x < 6; ++x) canvas.FillRect(Rect{x, 0, x + 1, 2}, Rgb{static_cast<std::uint8_t>(x), 0, 0});
    canvas.ScrollRect(Rect{0, 0, 6, 1}, c.dx, 0);
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(canvas.PixelAt(x, 0).r, c.row[static_cast<std::size_t>(x)]) << "dx " << c.dx << ", x " << x;
      EXPECT_EQ(canvas.PixelAt(x, 1).r, x);  // outside the rect
    }
  }
}

}  // namespace
}  // namespace vantor::ui
