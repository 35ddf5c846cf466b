#include "ui/draw/bar_gauge.h"

#include <gtest/gtest.h>

#include "recording_canvas.h"

namespace vantor::ui {
namespace {

using testing::RecordingCanvas;

TEST(BarGauge, TopFollowsTheClampedRatio) {
  EXPECT_EQ(BarTop(0, 0, 20), 170);
  EXPECT_EQ(BarTop(20, 0, 20), -1);
  EXPECT_EQ(BarTop(-3, 0, 20), 170);   // below the minimum: empty
  EXPECT_EQ(BarTop(99, 0, 20), -1);    // above the maximum: full
  EXPECT_EQ(BarTop(10, 0, 20), 84);    // 171 - 86 - 1
  EXPECT_EQ(BarTop(50, -20, 120), 84); // a minimum below zero uses the same ratio
}

TEST(BarGauge, BoostByMapSensor) {
  EXPECT_DOUBLE_EQ(BoostPsi(1, 200), 0.0);
  EXPECT_NEAR(BoostPsi(2, 100), 100 * 0.625 * 0.145037738, 1e-12);
  EXPECT_NEAR(BoostPsi(3, 100), 100 * 1.2335 * 0.145037738, 1e-12);
  EXPECT_EQ(BoostScaleMax(3, 15.0), 30.0);
}

TEST(BarGauge, DrawsOnlyTheRowsThatChange) {
  BarGauge bar = MakeBarTable()[0];  // IGN 0..20
  RecordingCanvas canvas;
  bar.value = 10;  // top 84: rows 171 down to 84
  DrawBarLevel(canvas, bar);
  EXPECT_EQ(canvas.lines.size(), 171u - 84u + 1u);

  canvas.Clear();
  bar.value = 10;  // unchanged: no rows
  DrawBarLevel(canvas, bar);
  EXPECT_TRUE(canvas.lines.empty());

  canvas.Clear();
  bar.value = 5;  // top 127: rows 84..126 grey again
  DrawBarLevel(canvas, bar);
  ASSERT_EQ(canvas.lines.size(), 127u - 84u);
  EXPECT_EQ(canvas.lines.front().pen.colour, (Rgb{180, 180, 180}));
}

TEST(BarGauge, ValueTextByKind) {
  BarGauge ign = MakeBarTable()[0];
  ign.value = 13.94;
  EXPECT_EQ(BarValueText(ign), " 13.9 V ");
  BarGauge cts = MakeBarTable()[2];
  cts.value = -2.5;  // rounded half away from zero
  EXPECT_EQ(BarValueText(cts), " -3 °C ");
}

}  // namespace
}  // namespace vantor::ui
