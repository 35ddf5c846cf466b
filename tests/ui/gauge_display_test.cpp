#include "ui/draw/gauge_display.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "fake_live_view.h"
#include "live/live_frame.h"
#include "recording_canvas.h"

namespace vantor::ui {
namespace {

using testing::FakeLiveView;
using testing::RecordingSurface;

constexpr Rgb kLitGreen{10, 160, 5};

class GaugeDisplayTest : public ::testing::Test {
 protected:
  GaugeDisplayTest() : panel(view, spinner, nullptr), gauges(settings, view, panel, surface) {
    settings.updateDivisor = 0;  // draw on every frame
    frame.fill(0);
    frame[frame::kFlags6] = 0x80;  // fuel not cut
    frame[frame::kFirmware] = 0x10;
  }
  std::vector<testing::FillCall> LampFills() const {
    std::vector<testing::FillCall> lamps;
    for (const auto& fill : surface.canvas.fills)
      if (fill.rect.Width() == 13 && fill.rect.Height() == 9) lamps.push_back(fill);
    return lamps;
  }

  Settings settings;
  FakeLiveView view;
  ActivitySpinner spinner;
  StatusPanel panel;
  RecordingSurface surface;
  GaugeDisplay gauges;
  std::array<std::uint8_t, 273> frame{};
};

TEST_F(GaugeDisplayTest, OnlyChangedLampsAreDrawnAndARepaintDrawsEveryLamp) {
  gauges.OnFrame(frame.data(), true);
  EXPECT_EQ(LampFills().size(), 27u);  // every lamp once after start

  surface.canvas.Clear();
  frame[frame::kStatus1] = 0x80;  // "Running"
  gauges.OnFrame(frame.data(), true);
  ASSERT_EQ(LampFills().size(), 1u);
  EXPECT_EQ(LampFills().front().rect, (Rect{220, 40, 233, 49}));
  EXPECT_EQ(LampFills().front().colour, kLitGreen);
  surface.canvas.Clear();
  gauges.DrawFace(surface.canvas);
  gauges.DrawDynamic(surface.canvas);
  EXPECT_EQ(LampFills().size(), 27u);
}

// Fuel cut is lit when its bit is clear; a hidden display updates its lamps without drawing.
TEST_F(GaugeDisplayTest, HiddenDisplayUpdatesWithoutDrawingAndFuelCutIsInverted) {
  frame[frame::kFlags6] = 0x00;
  frame[frame::kStatus1] = 0x80;
  gauges.OnFrame(frame.data(), false);
  EXPECT_TRUE(surface.canvas.fills.empty());
  EXPECT_EQ(gauges.Lamps()[20].state, 1);  // "FuelCut"
}

TEST_F(GaugeDisplayTest, RedrawsOnEveryDivisorPlusOneFrame) {
  settings.updateDivisor = 3;
  int draws = 0;
  for (int i = 0; i < 12; ++i) {
    surface.canvas.Clear();
    gauges.OnFrame(frame.data(), true);
    draws += surface.canvas.texts.empty() ? 0 : 1;
  }
  EXPECT_EQ(draws, 3);
}

TEST(GaugeText, GearByTransmission) {
  std::array<std::uint8_t, 273> frame{};
  frame[frame::kGear] = 12;
  EXPECT_EQ(GearText(frame.data(), 0), "  9  ");
  EXPECT_EQ(GearText(frame.data(), 1), " 1/2 ");
  frame[frame::kTransRange] = 0x06;
  EXPECT_EQ(GearText(frame.data(), 1), " OD ");
  frame[frame::kFlags15] = 0x10;
  EXPECT_EQ(GearText(frame.data(), 1), " P/N ");
}

TEST(GaugeText, DutyCycleWithoutRpmIsZero) {
  std::array<std::uint8_t, 273> frame{};
  frame[frame::kBasePw] = 0x02;
  EXPECT_EQ(DutyCyclePercent(frame.data(), 0), 0.0);
  EXPECT_GT(DutyCyclePercent(frame.data(), 3000), 0.0);
}

}  // namespace
}  // namespace vantor::ui
