#include "ui/draw/headless_display.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "link/crc16.h"
#include "live/live_frame.h"

namespace vantor::ui {
namespace {

namespace fs = std::filesystem;

// A log of n frames at 60 mph with the "Running" lamp lit, and some text
// between them that the reader has to skip.
fs::path WriteLog(int n) {
  const fs::path path = fs::temp_directory_path() / "vantor_headless_test.dat";
  std::ofstream out(path, std::ios::binary);
  out << "TIME: 07/20/2013 - 16:47:09";
  for (int i = 0; i < n; ++i) {
    std::uint8_t data[kFrameDataSize] = {};
    data[frame::kSpeed] = 60;
    data[frame::kStatus1] = 0x80;
    data[frame::kFlags6] = 0x80;
    data[frame::kFirmware] = 0x10;
    const std::uint16_t check = Crc16Prefixed(0x55, 0xAA, data, kFrameDataSize);
    out.put(0x55).put(static_cast<char>(0xAA));
    out.write(reinterpret_cast<const char*>(data), kFrameDataSize);
    out.put(static_cast<char>(check >> 8)).put(static_cast<char>(check & 0xFF));
  }
  return path;
}

TEST(HeadlessDisplay, RendersGaugesFromALogThroughTheFrameLoop) {
  const fs::path log = WriteLog(20);
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
