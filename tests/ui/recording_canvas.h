#pragma once
// A Canvas that records what is drawn, for checking incremental drawing.

#include <string>
#include <vector>

#include "ui/canvas.h"
#include "ui/draw/draw_surface.h"

namespace vantor::ui::testing {

struct TextCall {
  int x, y;
  std::string text;
  TextStyle style;
};
struct LineCall {
  Point from, to;
  Pen pen;
};
struct FillCall {
  Rect rect;
  Rgb colour;
};

class RecordingCanvas final : public Canvas {
 public:
  std::vector<TextCall> texts;
  std::vector<LineCall> lines;
  std::vector<FillCall> fills;
  int frames = 0;

  void Clear() { *this = RecordingCanvas{}; }
  const TextCall* TextAt(int x, int y) const {
    for (auto it = texts.rbegin(); it != texts.rend(); ++it)
      if (it->x == x && it->y == y) return &*it;
    return nullptr;
  }

  void Text(int x, int y, std::string_view text, const TextStyle& style) override {
    texts.push_back({x, y, std::string(text), style});
  }
  int TextWidth(std::string_view text, FontId) const override { return static_cast<int>(text.size()) * 8; }
  int LineHeight(FontId) const override { return 16; }
  void Line(Point from, Point to, const Pen& pen) override { lines.push_back({from, to, pen}); }
  void Polyline(std::span<const Point> points, const Pen& pen) override {
    for (std::size_t i = 1; i < points.size(); ++i) Line(points[i - 1], points[i], pen);
  }
  void FrameRect(const Rect&, const Pen&) override { ++frames; }
  void FillRect(const Rect& rect, Rgb colour) override { fills.push_back({rect, colour}); }
  void Ellipse(const Rect&, Rgb, const Pen&) override {}
  void Arc(const Rect&, Point, Point, const Pen&) override {}
  void ScrollRect(const Rect&, int, int) override {}
  void InvertRect(const Rect&) override {}
};

class RecordingSurface final : public DrawSurface {
 public:
  RecordingCanvas canvas;
  int invalidations = 0;
  Canvas& Begin() override { return canvas; }
  void End() override {}
  void InvalidateAll() override { ++invalidations; }
};

}  // namespace vantor::ui::testing
