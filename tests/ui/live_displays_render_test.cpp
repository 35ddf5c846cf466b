// The trip, knock and diagnostics displays rendered headless from logs that
// exercise them, checked at the pixels their layouts fix.
#include <gtest/gtest.h>

#include "frame_log.h"
#include "live/live_frame.h"
#include "ui/draw/headless_display.h"
#include "ui/draw/knock_display.h"

namespace vantor::ui {
namespace {

constexpr Rgb kWhite = colour::kText;

// Running at 2500 rpm, 60 kPa (load code 128), 4004 pulses per mile, flow 200.
void RunningFrame(int i, std::uint8_t* data) {
  data[frame::kStatus1] = 0x80;
  data[frame::kRunTime + 1] = static_cast<std::uint8_t>(10 + i / 17);
  data[frame::kRpmCoarse31] = 40;
  data[frame::kRpmCoarse27] = 255;
  data[frame::kRpmCoarse28] = 100;
  data[frame::kLoadMap] = 128;
  data[frame::kEngineConfig] = 0x08;
  data[frame::kVssConstant + 1] = 230;
  data[frame::kInjectorFlow] = 18880 >> 8;
  data[frame::kInjectorFlow + 1] = 18880 & 0xFF;
  data[frame::kVssCounter] = static_cast<std::uint8_t>(i * 3);
  data[frame::kFuelCounter] = static_cast<std::uint8_t>(i);
  data[frame::kO2] = 100;  // 442 mV
}

RasterCanvas Render(DisplayMode mode, int frames, void (*fill)(int, std::uint8_t*)) {
  const auto log = testing::WriteFrameLog("vantor_render_test.dat", frames, fill);
  Settings settings;
  HeadlessDisplay display(settings, mode);
  display.Paint();
  EXPECT_EQ(display.FeedLog(log.string(), frames), frames);
  display.Settle();
  std::filesystem::remove(log);
  return display.Canvas();
}

TEST(LiveDisplaysRender, TripShowsBannerDigitsAndMapBar) {
  const RasterCanvas canvas = Render(DisplayMode::Trip, 120, [](int i, std::uint8_t* data) {
    RunningFrame(i, data);
    data[frame::kFlags13] = 0x80;  // power enrichment
  });
  EXPECT_EQ(canvas.PixelAt(230, 515), (Rgb{232, 32, 32}));  // "PE MODE" banner
  EXPECT_EQ(canvas.PixelAt(30, 305), kWhite);               // "2" of 2500 rpm, top row
  EXPECT_EQ(canvas.PixelAt(30, 320), colour::kBackground);  // its second row is blank on the left
  EXPECT_EQ(canvas.PixelAt(405, 300 + 150), kWhite);        // 60 kPa of the 1-bar bar
  EXPECT_EQ(canvas.PixelAt(405, 300 + 40), colour::kBackground);
}

TEST(LiveDisplaysRender, KnockHighlightsTheOperatingCell) {
  const RasterCanvas canvas = Render(DisplayMode::SparkKnock, 80, [](int i, std::uint8_t* data) {
    RunningFrame(i, data);
    const unsigned count = static_cast<unsigned>(i) * 70;
    data[frame::kKnockCount] = static_cast<std::uint8_t>(count >> 8);
    data[frame::kKnockCount + 1] = static_cast<std::uint8_t>(count);
    data[frame::kRetard] = 57;
  });
  const Point at = KnockCellOrigin(KnockGrid::Standard, KnockCell{12, 5});  // 2800 rpm row, 60 kPa column
  EXPECT_EQ(canvas.PixelAt(at.x, at.y + 14), (Rgb{33, 165, 33}));
  EXPECT_EQ(canvas.PixelAt(165, 300), kWhite);  // panel's left edge
}

TEST(LiveDisplaysRender, DiagnosticsDrawBoxesAndScrollTheChart) {
  const RasterCanvas canvas = Render(DisplayMode::Diagnostic, 40, RunningFrame);
  EXPECT_EQ(canvas.PixelAt(270, 60), kWhite);              // RPM box
  EXPECT_EQ(canvas.PixelAt(88, 400), kWhite);              // chart frame
  EXPECT_EQ(canvas.PixelAt(700, 436), (Rgb{240, 10, 10}));  // 442 mV trace, scrolled left
}

}  // namespace
}  // namespace vantor::ui
