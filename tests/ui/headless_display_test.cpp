#include "ui/draw/headless_display.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "frame_log.h"
#include "live/live_frame.h"

namespace vantor::ui {
namespace {

namespace fs = std::filesystem;

TEST(HeadlessDisplay, RendersGaugesFromALogThroughTheFrameLoop) {
  // 60 mph with the "Running" lamp lit, after text the reader has to skip.
  const fs::path log = testing::WriteFrameLog(
      "vantor_headless_test.dat", 20,
      [](int, std::uint8_t* data) {
        data[frame::kSpeed] = 60;
        data[frame::kStatus1] = 0x80;
        data[frame::kFlags6] = 0x80;
        data[frame::kFirmware] = 0x10;
      },
      "TIME: 07/20/2013 - 16:47:09");
  Settings settings;
  HeadlessDisplay display(settings, DisplayMode::Gauges);
  display.Paint();
  EXPECT_EQ(display.FeedLog(log.string(), 1000), 20);
  display.Settle();
  const RasterCanvas& canvas = display.Canvas();
  EXPECT_EQ(canvas.PixelAt(799, 599), colour::kBackground);
  EXPECT_EQ(canvas.PixelAt(300, 250), (Rgb{180, 180, 180}));  // speedometer face
  EXPECT_EQ(canvas.PixelAt(226, 44), (Rgb{10, 160, 5}));      // "Running" lit
  EXPECT_EQ(canvas.PixelAt(226, 62), (Rgb{0, 0, 0}));         // "ClsdThrt" unlit
  // 60 of 120 mph: the needle points straight up.
  EXPECT_EQ(canvas.PixelAt(280, 160), colour::kAttention);
  fs::remove(log);
}

TEST(HeadlessDisplay, MissingLogIsReported) {
  Settings settings;
  HeadlessDisplay display(settings, DisplayMode::Gauges);
  EXPECT_EQ(display.FeedLog("/nonexistent/x.dat", 10), -1);
}

TEST(HeadlessDisplay, DisplayNames) {
  EXPECT_EQ(DisplayByName("GAUGES"), DisplayMode::Gauges);
  EXPECT_EQ(DisplayByName("vantor"), DisplayMode::Gauges);
  EXPECT_EQ(DisplayByName("diag"), DisplayMode::Diagnostic);
  EXPECT_FALSE(DisplayByName("radar"));
}

}  // namespace
}  // namespace vantor::ui
