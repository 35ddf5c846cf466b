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

}  // namespace
}  // namespace vantor::ui
