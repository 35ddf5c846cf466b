// The screenshot file decodes back to the canvas's pixels and replaces any
// earlier file whole.
#include <png.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "ui/draw/png_writer.h"

namespace vantor::ui {
namespace {

std::vector<std::uint32_t> Decode(const std::string& path, int* width, int* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_BGRA;
  std::vector<std::uint32_t> pixels(image.width * image.height);
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  *width = static_cast<int>(image.width);
  *height = static_cast<int>(image.height);
  return pixels;
}

TEST(PngFile, DecodesToTheSamePixelsAndLeavesNoWorkingFile) {
  test::TempDir dir;
  const std::string path = dir.File("shot.png");
  for (std::uint32_t shade : {0x00u, 0x80u}) {  // the second write replaces the first
    std::vector<std::uint32_t> pixels(40 * 30);
    for (std::size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = 0xFF000000u | (static_cast<std::uint32_t>(i * 2654435761u & 0xFFFFFFu) ^ shade);
    std::string error;
    ASSERT_TRUE(WritePng(path, 40, 30, pixels.data(), &error)) << error;
    int width = 0, height = 0;
    EXPECT_EQ(Decode(path, &width, &height), pixels);
    EXPECT_EQ(width, 40);
    EXPECT_EQ(height, 30);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(PngFile, UnwritablePlaceIsReportedAndLeavesNothing) {
  test::TempDir dir;
  const std::uint32_t pixel = 0xFF123456u;
  std::string error;
  EXPECT_FALSE(WritePng(dir.File("missing/shot.png"), 1, 1, &pixel, &error));
  EXPECT_NE(error.find("missing/shot.png"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

}  // namespace
}  // namespace vantor::ui
