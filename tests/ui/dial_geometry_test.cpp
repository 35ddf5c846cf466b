#include "ui/draw/dial_geometry.h"

#include <gtest/gtest.h>

#include <utility>

#include "ui/draw/activity_spinner.h"
#include "ui/draw/gauge_display.h"

namespace vantor::ui {
namespace {

// Needles rest at the zero mark; angles rise clockwise over the top; values
// outside the scale rest at its ends.
TEST(DialGeometry, NeedleAnglesAndPoints) {
  EXPECT_EQ(DialPoint(kSpeedoCentre, kNeedleRadius, kZeroAngle), (Point{235, 254}));
  EXPECT_EQ(DialPoint(kSpeedoCentre, 76, 180), (Point{280, 134}));
  for (auto [value, angle] : {std::pair{250.0, 315.0}, std::pair{60.0, 180.0}, std::pair{-5.0, 45.0}})
    EXPECT_DOUBLE_EQ(NeedleAngle(value, 120), angle) << value;
}

TEST(DialGeometry, SpeedoScaleHalvesAbove180) {
  const DialScale normal = SpeedoScale(120);
  EXPECT_EQ(normal.intervals, 12);
  EXPECT_DOUBLE_EQ(normal.step, 22.5);
  EXPECT_EQ(normal.labelStep, 10);
  const DialScale halved = SpeedoScale(181);
  EXPECT_EQ(halved.intervals, 9);
  EXPECT_EQ(halved.labelStep, 20);
  EXPECT_EQ(SpeedoScale(180).intervals, 18);
}

TEST(DialGeometry, TachoScaleAndRedZone) {
  EXPECT_EQ(TachoScale(7000).intervals, 7);
  EXPECT_LT(RedlineAngle(5800, 7000), 315.0);
  EXPECT_GE(RedlineAngle(7000, 7000), 315.0);  // no red zone
  EXPECT_GE(RedlineAngle(8000, 7000), 315.0);
}

TEST(ActivitySpinner, StepsEveryFourthFrame) {
  ActivitySpinner spinner;
  int moves = 0;
  for (int i = 0; i < 12; ++i) moves += spinner.CountFrame() ? 1 : 0;
  EXPECT_EQ(moves, 3);
}

}  // namespace
}  // namespace vantor::ui
