#include "ui/draw/gauge_display.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "fake_live_view.h"
#include "live/live_frame.h"
#include "recording_canvas.h"
#include "ui/draw/headless_display.h"

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

TEST_F(GaugeDisplayTest, ChannelCaptionsComeFromTheConfigurationBeforeAnyFrame) {
  view.wideband = ChannelReading{true, 0.0, "TT-1 WB", 0};
  view.fuel = ChannelReading{true, 0.0, "AutoMeter", 1};
  gauges.DrawFace(surface.canvas);
  struct Caption {
    int x, y;
    const char* text;
  };
  for (const Caption& c : {Caption{640, 265, "TT-1 WB  Ch: 0  "}, Caption{20, 265, "AutoMeter  Ch: 1  "}}) {
    const auto* text = surface.canvas.TextAt(c.x, c.y);
    ASSERT_NE(text, nullptr) << c.text;
    EXPECT_EQ(text->text, c.text);
  }
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

TEST_F(GaugeDisplayTest, BoostScaleChangeAsksForARepaint) {
  frame[frame::kEngineConfig] = 0x40;  // 3-bar sensor
  gauges.OnFrame(frame.data(), true);
  gauges.OnFrame(frame.data(), true);
  EXPECT_EQ(surface.invalidations, 1);
  frame[frame::kEngineConfig] = 0x00;  // 1-bar: the scale stays
  gauges.OnFrame(frame.data(), true);
  EXPECT_EQ(surface.invalidations, 1);
}

// Pixels inked by text drawn alone that are no longer inked on canvas.
int InkLost(const RasterCanvas& canvas, int x, int y, const char* text, FontId font, Align align) {
  RasterCanvas alone(800, 600);
  TextStyle style;
  style.font = font;
  style.align = align;
  alone.Text(x, y, text, style);
  int lost = 0;
  for (int py = 0; py < 600; ++py)
    for (int px = 0; px < 800; ++px)
      if (alone.PixelAt(px, py) == colour::kText && canvas.PixelAt(px, py) != colour::kText) ++lost;
  return lost;
}

// Values and the file-name row are drawn on every redraw; the captions and
// lamp labels beside them only on a paint. Neither may erase the other.
TEST(GaugeFace, RedrawnValuesLeaveTheCaptionsBesideThem) {
  Settings settings;
  settings.updateDivisor = 0;
  testing::FakeLiveView view;
  view.wideband = ChannelReading{true, 14.5, "TT-1 WB", 0};
  view.fuel = ChannelReading{true, 43.5, "AutoMeter", 1};
  ActivitySpinner spinner;
  StatusPanel panel(view, spinner, nullptr);
  RasterCanvas canvas(800, 600);
  RasterSurface surface(canvas);
  GaugeDisplay gauges(settings, view, panel, surface);
  panel.DrawPanel(canvas, true);
  gauges.DrawFace(canvas);
  gauges.DrawDynamic(canvas);
  std::array<std::uint8_t, 273> frame{};
  frame[frame::kCommandedAfr] = 147;
  gauges.OnFrame(frame.data(), true);
  struct Caption {
    int x, y;
    const char* text;
    FontId font;
    Align align;
  };
  for (const Caption& c : {Caption{640, 205, "cAFR:", FontId::Large, Align::Left},
                           Caption{216, 36, "Running", FontId::Default, Align::Right}})
    EXPECT_EQ(InkLost(canvas, c.x, c.y, c.text, c.font, c.align), 0) << c.text;
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
