// The displays rendered headless from logs fed through the frame loop,
// checked at the pixels their layouts fix.
#include "ui/draw/headless_display.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "live/live_frame.h"
#include "support/log_builder.h"
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

// The display's picture after a log of these frames; the feed stops at limit frames (default: all).
RasterCanvas Render(DisplayMode mode, int frames, void (*fill)(int, std::uint8_t*), const std::string& lead = {},
                    long limit = 0) {
  testlog::LogBuilder log;
  log.Raw(lead);
  for (int i = 0; i < frames; ++i) {
    testlog::FrameData data{};
    fill(i, data.data());
    log.Frame(data);
  }
  const test::TempDir dir;
  log.Save(dir.File("log.dat"));
  Settings settings;
  HeadlessDisplay display(settings, mode);
  display.Paint();
  EXPECT_EQ(display.FeedLog(dir.File("log.dat"), limit ? limit : frames), frames);
  display.Settle();
  return display.Canvas();
}

TEST(HeadlessDisplay, GaugesFromALogAfterTextTheReaderSkips) {
  const RasterCanvas canvas = Render(DisplayMode::Gauges, 20, [](int, std::uint8_t* data) {
    data[frame::kSpeed] = 60;
    data[frame::kStatus1] = 0x80;
    data[frame::kFlags6] = 0x80;
    data[frame::kFirmware] = 0x10;
  }, "TIME: 07/20/2013 - 16:47:09", 1000);
  EXPECT_EQ(canvas.PixelAt(226, 44), (Rgb{10, 160, 5}));      // "Running" lit
  EXPECT_EQ(canvas.PixelAt(280, 160), colour::kAttention);    // 60 of 120 mph: the needle points straight up
}

TEST(HeadlessDisplay, TripShowsTheMapBar) {
  const RasterCanvas canvas = Render(DisplayMode::Trip, 120, RunningFrame);
  EXPECT_EQ(canvas.PixelAt(405, 300 + 150), kWhite);        // 60 kPa of the 1-bar bar
  EXPECT_EQ(canvas.PixelAt(405, 300 + 40), colour::kBackground);
}

TEST(HeadlessDisplay, KnockHighlightsTheOperatingCell) {
  const RasterCanvas canvas = Render(DisplayMode::SparkKnock, 80, [](int i, std::uint8_t* data) {
    RunningFrame(i, data);
    const unsigned count = static_cast<unsigned>(i) * 70;
    data[frame::kKnockCount] = static_cast<std::uint8_t>(count >> 8);
    data[frame::kKnockCount + 1] = static_cast<std::uint8_t>(count);
    data[frame::kRetard] = 57;
  });
  const Point at = KnockCellOrigin(KnockGrid::Standard, KnockCell{12, 5});  // 2800 rpm row, 60 kPa column
  EXPECT_EQ(canvas.PixelAt(at.x, at.y + 14), (Rgb{33, 165, 33}));
}

TEST(HeadlessDisplay, DiagnosticsDrawBoxesAndScrollTheChart) {
  const RasterCanvas canvas = Render(DisplayMode::Diagnostic, 40, RunningFrame);
  EXPECT_EQ(canvas.PixelAt(270, 60), kWhite);                // RPM box
  EXPECT_EQ(canvas.PixelAt(700, 436), (Rgb{240, 10, 10}));  // 442 mV trace, scrolled left
}

TEST(HeadlessDisplay, MissingLogAndDisplayNames) {
  Settings settings;
  EXPECT_EQ(HeadlessDisplay(settings, DisplayMode::Gauges).FeedLog("/nonexistent/x.dat", 10), -1);
  EXPECT_EQ(DisplayByName("vantor"), DisplayMode::Gauges);
  EXPECT_FALSE(DisplayByName("radar"));
}

}  // namespace
}  // namespace vantor::ui
