#pragma once
// The software canvas: draws into a 32-bit 0xFFRRGGBB pixel buffer (the
// layout of a QImage::Format_RGB32 image) and records the area it changed.

#include <cstdint>
#include <vector>

#include "ui/canvas.h"

namespace vantor::ui {

class RasterCanvas final : public Canvas {
 public:
  RasterCanvas(int width, int height, Rgb fill = colour::kBackground);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::uint32_t* Pixels() const { return pixels_.data(); }
  Rgb PixelAt(int x, int y) const;
  // The bounding box of everything drawn since the last call; empty when nothing changed.
  Rect TakeDirty();

  void Text(int x, int y, std::string_view text, const TextStyle& style) override;
  int TextWidth(std::string_view text, FontId font) const override;
  int LineHeight(FontId font) const override;
  void Line(Point from, Point to, const Pen& pen) override;
  void Polyline(std::span<const Point> points, const Pen& pen) override;
  void FrameRect(const Rect& rect, const Pen& pen) override;
  void FillRect(const Rect& rect, Rgb colour) override;
  void Ellipse(const Rect& box, Rgb fill, const Pen& pen) override;
  void Arc(const Rect& box, Point start, Point end, const Pen& pen) override;
  void ScrollRect(const Rect& rect, int dx, int dy) override;
  void InvertRect(const Rect& rect) override;

 private:
  void Plot(int x, int y, std::uint32_t value);
  void Stamp(int x, int y, int width, std::uint32_t value);
  void Span(int y, int x0, int x1, std::uint32_t value);
  void ScrollRows(const Rect& clip, int dx);
  void MarkDirty(int left, int top, int right, int bottom);
  void DrawGlyph(int penX, int top, char32_t code, FontId font, std::uint32_t value);
  bool DrawBlockGlyph(int penX, int top, char32_t code, int advance, int height, std::uint32_t value);
  void EllipsePoints(const Rect& box, double fromRad, double sweepRad, const Pen& pen);

  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
  Rect dirty_{};
};

std::uint32_t PackRgb(Rgb colour);

}  // namespace vantor::ui
