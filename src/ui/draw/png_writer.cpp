#include "ui/draw/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/working_file.h"

namespace vantor::ui {
namespace {

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// libpng reports errors by longjmp, so nothing with a destructor may live here.
bool WriteRows(png_structp png, png_infop info, int width, int height, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  return true;
}

std::vector<std::uint8_t> RgbBytes(int width, int height, const std::uint32_t* pixels) {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(width) * height * 3);
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
    rgb.push_back(static_cast<std::uint8_t>(pixels[i] >> 16));
    rgb.push_back(static_cast<std::uint8_t>(pixels[i] >> 8));
    rgb.push_back(static_cast<std::uint8_t>(pixels[i]));
  }
  return rgb;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, const std::uint32_t* pixels) {
  std::vector<std::uint8_t> png;
  if (width <= 0 || height <= 0) return png;
  std::vector<std::uint8_t> rgb = RgbBytes(width, height, pixels);
  std::vector<png_bytep> rows(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) rows[y] = rgb.data() + static_cast<std::size_t>(y) * width * 3;

  png_structp writer = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = writer ? png_create_info_struct(writer) : nullptr;
  bool ok = info != nullptr;
  if (ok) {
    png_set_write_fn(writer, &png, &AppendToVector, &NoFlush);
    ok = WriteRows(writer, info, width, height, rows.data());
  }
  png_destroy_write_struct(&writer, &info);
  if (!ok) png.clear();
  return png;
}

bool WritePng(const std::string& path, int width, int height, const std::uint32_t* pixels, std::string* error) {
  const std::vector<std::uint8_t> png = EncodePng(width, height, pixels);
  if (png.empty()) {
    *error = "Can not encode the image for " + path;
    return false;
  }
  WorkingFile file;
  if (!file.Create(path, error)) return false;
  if (std::fwrite(png.data(), 1, png.size(), file.Get()) != png.size()) {
    *error = "Can not write " + path + ": " + std::strerror(errno);
    return false;
  }
  return file.Commit(error);
}

}  // namespace vantor::ui
