#pragma once
// A small GDI-like drawing surface. The displays draw through it only, so the
// same drawing code renders into the window's back-buffer and into image files.
// Rectangles follow the GDI rule: right and bottom are exclusive.

#include <cstdint>
#include <span>
#include <string_view>

namespace vantor::ui {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

struct Point {
  int x = 0, y = 0;
  friend constexpr bool operator==(Point, Point) = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  friend constexpr bool operator==(Rect, Rect) = default;
};

struct Pen {
  Rgb colour;
  int width = 1;
};

// The five shared fonts and the window's default font; MediumBold is the
// update utility's message pane font (its other three are Small, Oem and Title).
enum class FontId { Default, Small, Medium, Oem, Title, Large, MediumBold };

enum class Align { Left, Centre, Right };

struct TextStyle {
  FontId font = FontId::Default;
  Rgb colour{240, 240, 240};
  Rgb background{20, 20, 20};
  bool opaque = true;  // fill the text cell with the background first
  Align align = Align::Left;
};

class Canvas {
 public:
  virtual ~Canvas() = default;

  // Text is UTF-8; y is the top of the text cell, x the edge or centre named by align.
  virtual void Text(int x, int y, std::string_view text, const TextStyle& style) = 0;
  virtual int TextWidth(std::string_view text, FontId font) const = 0;
  virtual int LineHeight(FontId font) const = 0;

  // Lines leave out their end point (thin pens), as a MoveTo/LineTo pair does.
  virtual void Line(Point from, Point to, const Pen& pen) = 0;
  virtual void Polyline(std::span<const Point> points, const Pen& pen) = 0;
  virtual void FrameRect(const Rect& rect, const Pen& pen) = 0;
  virtual void FillRect(const Rect& rect, Rgb colour) = 0;
  // The ellipse inside box, filled, then outlined with pen (width 0: no outline).
  virtual void Ellipse(const Rect& box, Rgb fill, const Pen& pen) = 0;
  // The arc of the ellipse inside box, counter-clockwise on screen from the ray
  // through start to the ray through end.
  virtual void Arc(const Rect& box, Point start, Point end, const Pen& pen) = 0;
  // Moves the pixels of rect by (dx, dy), clipped to rect; uncovered pixels keep their old values.
  virtual void ScrollRect(const Rect& rect, int dx, int dy) = 0;
  // Inverts every pixel of rect (a one-pixel-high rect inverts a line).
  virtual void InvertRect(const Rect& rect) = 0;
};

namespace colour {
constexpr Rgb kBackground{20, 20, 20};
constexpr Rgb kText{240, 240, 240};
constexpr Rgb kAttention{210, 63, 10};
constexpr Rgb kDim{100, 100, 100};
}  // namespace colour

}  // namespace vantor::ui
