#include "ui/draw/trip_display.h"

#include <gtest/gtest.h>

#include <array>

#include "fake_live_view.h"
#include "live/live_frame.h"
#include "ui/draw/headless_display.h"

namespace vantor::ui {
namespace {

class TripDisplayTest : public ::testing::Test {
 protected:
  TripDisplayTest() {
    settings.updateDivisor = 0;
    view.rpm = 2500;
    view.running = true;
    frame[frame::kStatus1] = 0x80;
    frame[frame::kVssConstant + 1] = 230;  // 4004 pulses per mile
  }
  void Feed(int frames) {
    for (int i = 0; i < frames; ++i) trip.OnFrame(frame.data(), true);
  }
  bool Lit(int x, int y) const { return canvas.PixelAt(x, y) == colour::kText; }

  Settings settings;
  testing::FakeLiveView view;
  ActivitySpinner spinner;
  StatusPanel panel{view, spinner, nullptr};
  RasterCanvas canvas{800, 600};
  RasterSurface surface{canvas};
  TripDisplay trip{settings, view, panel, surface};
  std::array<std::uint8_t, 273> frame{};
};

// The top-left cell of the first digit: "9" of an instant 99, "2" of 2500 rpm.
TEST_F(TripDisplayTest, ClearDataShowsZeroUntilANewSampleExists) {
  Feed(80);
  trip.Paint(canvas);
  ASSERT_TRUE(Lit(188, 123));
  ASSERT_TRUE(Lit(27, 303));
  trip.ClearData();
  trip.Paint(canvas);
  EXPECT_FALSE(Lit(188, 123));
  EXPECT_FALSE(Lit(27, 303));
  Feed(75);  // warmed up again
  EXPECT_TRUE(Lit(27, 303));
}

// The banners' words are in the OEM font, dark on the banner's colour.
TEST_F(TripDisplayTest, BannersAreWrittenInTheOemFont) {
  struct Case {
    int offset;
    std::uint8_t bit;
    Rect area;
    Rgb fill;
    int x, y;
    const char* text;
  };
  for (const Case& c : {Case{frame::kFlags13, 0x80, Rect{225, 512, 575, 550}, Rgb{232, 32, 32}, 375, 527, "PE MODE"},
                        Case{frame::kFlags3, 0x04, Rect{200, 520, 600, 540}, colour::kText, 360, 526, "Lean Cruise"}}) {
    SCOPED_TRACE(c.text);
    frame[frame::kFlags13] = frame[frame::kFlags3] = 0;
    frame[static_cast<std::size_t>(c.offset)] = c.bit;
    Feed(80);
    RasterCanvas expected(800, 600);
    expected.FillRect(c.area, c.fill);
    TextStyle words{FontId::Oem, colour::kBackground, colour::kBackground, false, Align::Left};
    expected.Text(c.x, c.y, c.text, words);
    int differ = 0;
    for (int y = c.area.top; y < c.area.bottom; ++y)
      for (int x = c.area.left; x < c.area.right; ++x) differ += canvas.PixelAt(x, y) != expected.PixelAt(x, y);
    EXPECT_EQ(differ, 0);
  }
}

}  // namespace
}  // namespace vantor::ui
