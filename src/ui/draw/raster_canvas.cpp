#include "ui/draw/raster_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "ui/draw/bitmap_font.h"
#include "ui/draw/utf8.h"

namespace vantor::ui {

std::uint32_t PackRgb(Rgb colour) {
  return 0xFF000000u | static_cast<std::uint32_t>(colour.r) << 16 | static_cast<std::uint32_t>(colour.g) << 8 |
         colour.b;
}

RasterCanvas::RasterCanvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, PackRgb(fill)) {}

Rgb RasterCanvas::PixelAt(int x, int y) const {
  const std::uint32_t v = pixels_[static_cast<std::size_t>(y) * width_ + x];
  return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

Rect RasterCanvas::TakeDirty() {
  const Rect dirty = dirty_;
  dirty_ = Rect{};
  return dirty;
}

void RasterCanvas::MarkDirty(int left, int top, int right, int bottom) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (right <= left || bottom <= top) return;
  if (dirty_.Empty()) {
    dirty_ = Rect{left, top, right, bottom};
    return;
  }
  dirty_ = Rect{std::min(dirty_.left, left), std::min(dirty_.top, top), std::max(dirty_.right, right),
                std::max(dirty_.bottom, bottom)};
}

void RasterCanvas::Plot(int x, int y, std::uint32_t value) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<std::size_t>(y) * width_ + x] = value;
}

// A pen of width w covers x - w/2 .. x + (w-1)/2, as a GDI geometric pen
// does: an even width puts its extra pixel on the left of (and above) the
// point, so a 2-pixel frame through x - 2 covers x - 3 and x - 2.
void RasterCanvas::Stamp(int x, int y, int width, std::uint32_t value) {
  const int from = -(width / 2);
  for (int dy = from; dy < from + width; ++dy)
    for (int dx = from; dx < from + width; ++dx) Plot(x + dx, y + dy, value);
}

void RasterCanvas::Span(int y, int x0, int x1, std::uint32_t value) {
  if (y < 0 || y >= height_) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, width_ - 1);
  if (x1 < x0) return;
  std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + x0, x1 - x0 + 1, value);
}

// ---- text ----

int RasterCanvas::LineHeight(FontId font) const { return FontFor(font).lineHeight; }

namespace {

bool IsBlockCode(char32_t code) { return (code >= 0x2580 && code <= 0x259F) || code == 0x25A0; }

int BlockAdvance(const BitmapFont& font) {
  const BitmapGlyph* m = FindGlyph(font, U'M');
  return m ? m->advance : font.lineHeight / 2;
}

int Advance(const BitmapFont& font, FontId id, char32_t code) {
  if (id == FontId::Oem && IsBlockCode(code)) return BlockAdvance(font);
  const BitmapGlyph* glyph = FindGlyph(font, code);
  if (!glyph) glyph = FindGlyph(font, U'?');
  return glyph ? glyph->advance : 0;
}

}  // namespace

int RasterCanvas::TextWidth(std::string_view text, FontId font) const {
  const BitmapFont& face = FontFor(font);
  int width = 0;
  ForEachCodePoint(text, [&](char32_t code) { width += Advance(face, font, code); });
  return width;
}

void RasterCanvas::Text(int x, int y, std::string_view text, const TextStyle& style) {
  const BitmapFont& face = FontFor(style.font);
  const int width = TextWidth(text, style.font);
  int left = x;
  if (style.align == Align::Centre) left = x - width / 2;
  if (style.align == Align::Right) left = x - width;
  if (style.opaque) FillRect(Rect{left, y, left + width, y + face.lineHeight}, style.background);
  const std::uint32_t ink = PackRgb(style.colour);
  int pen = left;
  ForEachCodePoint(text, [&](char32_t code) {
    DrawGlyph(pen, y, code, style.font, ink);
    pen += Advance(face, style.font, code);
  });
  MarkDirty(left - 2, y, pen + 2, y + face.lineHeight + 2);
}

void RasterCanvas::DrawGlyph(int penX, int top, char32_t code, FontId font, std::uint32_t value) {
  const BitmapFont& face = FontFor(font);
  if (font == FontId::Oem && IsBlockCode(code) &&
      DrawBlockGlyph(penX, top, code, BlockAdvance(face), face.lineHeight, value))
    return;
  const BitmapGlyph* glyph = FindGlyph(face, code);
  if (!glyph) glyph = FindGlyph(face, U'?');
  if (!glyph) return;
  const int rowBytes = (glyph->width + 7) / 8;
  const std::uint8_t* bits = face.bits + glyph->offset;
  for (int row = 0; row < glyph->height; ++row)
    for (int col = 0; col < glyph->width; ++col)
      if (bits[row * rowBytes + col / 8] & (0x80 >> (col % 8)))
        Plot(penX + glyph->left + col, top + glyph->top + row, value);
}

// The block and shade characters of code page 437, drawn from their cell
// shapes: shades as dot patterns, blocks as filled parts of the cell.
bool RasterCanvas::DrawBlockGlyph(int penX, int top, char32_t code, int advance, int height,
                                  std::uint32_t value) {
  auto fill = [&](int x0, int y0, int x1, int y1, int pattern) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const bool on = pattern == 4 || (pattern == 1 && x % 2 == 0 && y % 2 == 0) ||
                        (pattern == 2 && (x + y) % 2 == 0) || (pattern == 3 && !(x % 2 == 1 && y % 2 == 1));
        if (on) Plot(penX + x, top + y, value);
      }
  };
  switch (code) {
    case 0x2591: fill(0, 0, advance, height, 1); return true;           // light shade
    case 0x2592: fill(0, 0, advance, height, 2); return true;           // medium shade
    case 0x2593: fill(0, 0, advance, height, 3); return true;           // dark shade
    case 0x2588: fill(0, 0, advance, height, 4); return true;           // full block
    case 0x2580: fill(0, 0, advance, height / 2, 4); return true;       // upper half
    case 0x2584: fill(0, height / 2, advance, height, 4); return true;  // lower half
    case 0x258C: fill(0, 0, advance / 2, height, 4); return true;       // left half
    case 0x2590: fill(advance / 2, 0, advance, height, 4); return true; // right half
    case 0x25A0: fill(advance / 4, height / 3, advance - advance / 4, height - height / 3, 4); return true;
    default: return false;
  }
}

// ---- lines and shapes ----

void RasterCanvas::Line(Point from, Point to, const Pen& pen) {
  const std::uint32_t ink = PackRgb(pen.colour);
  const int width = std::max(pen.width, 1);
  int x = from.x, y = from.y;
  const int dx = std::abs(to.x - x), sx = x < to.x ? 1 : -1;
  const int dy = -std::abs(to.y - y), sy = y < to.y ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    const bool atEnd = x == to.x && y == to.y;
    if (atEnd && width == 1) break;
    Stamp(x, y, width, ink);
    if (atEnd) break;
    const int twice = 2 * error;
    if (twice >= dy) { error += dy; x += sx; }
    if (twice <= dx) { error += dx; y += sy; }
  }
  MarkDirty(std::min(from.x, to.x) - width, std::min(from.y, to.y) - width, std::max(from.x, to.x) + width + 1,
            std::max(from.y, to.y) + width + 1);
}

void RasterCanvas::Polyline(std::span<const Point> points, const Pen& pen) {
  for (std::size_t i = 1; i < points.size(); ++i) Line(points[i - 1], points[i], pen);
}

void RasterCanvas::FrameRect(const Rect& rect, const Pen& pen) {
  const Point corners[] = {{rect.left, rect.top},
                           {rect.right - 1, rect.top},
                           {rect.right - 1, rect.bottom - 1},
                           {rect.left, rect.bottom - 1},
                           {rect.left, rect.top}};
  Polyline(corners, pen);
  if (pen.width == 1) Plot(rect.left, rect.top, PackRgb(pen.colour));
}

void RasterCanvas::FillRect(const Rect& rect, Rgb colour) {
  const std::uint32_t value = PackRgb(colour);
  for (int y = rect.top; y < rect.bottom; ++y) Span(y, rect.left, rect.right - 1, value);
  MarkDirty(rect.left, rect.top, rect.right, rect.bottom);
}

namespace {

struct EllipseShape {
  double cx, cy, rx, ry;
  explicit EllipseShape(const Rect& box)
      : cx((box.left + box.right - 1) / 2.0),
        cy((box.top + box.bottom - 1) / 2.0),
        rx((box.right - box.left - 1) / 2.0),
        ry((box.bottom - box.top - 1) / 2.0) {}
  double AngleOf(Point p) const { return std::atan2(-(p.y - cy), p.x - cx); }
};

}  // namespace

void RasterCanvas::Ellipse(const Rect& box, Rgb fill, const Pen& pen) {
  const EllipseShape shape(box);
  const std::uint32_t value = PackRgb(fill);
  for (int y = box.top; y < box.bottom; ++y) {
    const double v = shape.ry > 0 ? (y - shape.cy) / shape.ry : 0.0;
    if (std::abs(v) > 1.0) continue;
    const double half = shape.rx * std::sqrt(1.0 - v * v);
    Span(y, static_cast<int>(std::ceil(shape.cx - half)), static_cast<int>(std::floor(shape.cx + half)), value);
  }
  MarkDirty(box.left, box.top, box.right, box.bottom);
  if (pen.width > 0) EllipsePoints(box, 0.0, 2 * std::numbers::pi, pen);
}

void RasterCanvas::Arc(const Rect& box, Point start, Point end, const Pen& pen) {
  const EllipseShape shape(box);
  const double from = shape.AngleOf(start);
  double sweep = shape.AngleOf(end) - from;
  while (sweep <= 0) sweep += 2 * std::numbers::pi;
  EllipsePoints(box, from, sweep, pen);
}

void RasterCanvas::EllipsePoints(const Rect& box, double fromRad, double sweepRad, const Pen& pen) {
  const EllipseShape shape(box);
  const std::uint32_t ink = PackRgb(pen.colour);
  const int inset = std::max(pen.width, 1) / 2;
  const double rx = shape.rx - inset, ry = shape.ry - inset;
  const int steps = std::max(16, static_cast<int>(std::max(rx, ry) * sweepRad * 2));
  for (int i = 0; i <= steps; ++i) {
    const double angle = fromRad + sweepRad * i / steps;
    Stamp(static_cast<int>(std::lround(shape.cx + rx * std::cos(angle))),
          static_cast<int>(std::lround(shape.cy - ry * std::sin(angle))), std::max(pen.width, 1), ink);
  }
  MarkDirty(box.left - 1, box.top - 1, box.right + 1, box.bottom + 1);
}

void RasterCanvas::ScrollRect(const Rect& rect, int dx, int dy) {
  const Rect clip{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width_),
                  std::min(rect.bottom, height_)};
  if (clip.Empty()) return;
  if (dy == 0) {
    ScrollRows(clip, dx);
    return;
  }
  std::vector<std::uint32_t> copy(static_cast<std::size_t>(clip.Width()) * clip.Height());
  for (int y = clip.top; y < clip.bottom; ++y)
    std::copy_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + clip.left, clip.Width(),
                copy.begin() + static_cast<std::ptrdiff_t>(y - clip.top) * clip.Width());
  for (int y = clip.top; y < clip.bottom; ++y)
    for (int x = clip.left; x < clip.right; ++x) {
      const int fromX = x - dx, fromY = y - dy;
      if (fromX < clip.left || fromX >= clip.right || fromY < clip.top || fromY >= clip.bottom) continue;
      pixels_[static_cast<std::size_t>(y) * width_ + x] =
          copy[static_cast<std::size_t>(fromY - clip.top) * clip.Width() + (fromX - clip.left)];
    }
  MarkDirty(clip.left, clip.top, clip.right, clip.bottom);
}

// A sideways scroll moves each row within itself (the strip charts scroll on
// every frame).
void RasterCanvas::ScrollRows(const Rect& clip, int dx) {
  const int moved = clip.Width() - std::abs(dx);
  if (moved > 0) {
    const int from = dx < 0 ? clip.left - dx : clip.left;
    const int to = dx < 0 ? clip.left : clip.left + dx;
    for (int y = clip.top; y < clip.bottom; ++y) {
      std::uint32_t* row = pixels_.data() + static_cast<std::size_t>(y) * width_;
      std::memmove(row + to, row + from, static_cast<std::size_t>(moved) * sizeof(std::uint32_t));
    }
  }
  MarkDirty(clip.left, clip.top, clip.right, clip.bottom);
}

void RasterCanvas::InvertRect(const Rect& rect) {
  for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, height_); ++y)
    for (int x = std::max(rect.left, 0); x < std::min(rect.right, width_); ++x)
      pixels_[static_cast<std::size_t>(y) * width_ + x] ^= 0x00FFFFFFu;
  MarkDirty(rect.left, rect.top, rect.right, rect.bottom);
}

}  // namespace vantor::ui
