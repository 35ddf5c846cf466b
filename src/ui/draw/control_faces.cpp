#include "ui/draw/control_faces.h"

#include <algorithm>

namespace vantor::ui {
namespace {

constexpr Rgb kFace{225, 225, 225};
constexpr Rgb kEdge{120, 120, 120};
constexpr Rgb kInk{0, 0, 0};
constexpr Rgb kTrough{200, 200, 200};
constexpr Rgb kThumb{150, 150, 150};

}  // namespace

void DrawButtonFace(Canvas& canvas, const Rect& rect, std::string_view text) {
  canvas.FillRect(rect, kFace);
  canvas.FrameRect(rect, Pen{kEdge, 1});
  TextStyle style{FontId::Default, kInk, kFace, false, Align::Centre};
  canvas.Text((rect.left + rect.right) / 2, (rect.top + rect.bottom - canvas.LineHeight(FontId::Default)) / 2, text,
              style);
}

void DrawCheckBoxFace(Canvas& canvas, const Rect& rect, std::string_view text, bool checked) {
  const int box = 12;
  const int top = (rect.top + rect.bottom - box) / 2;
  const Rect square{rect.left + 1, top, rect.left + 1 + box, top + box};
  canvas.FillRect(square, Rgb{255, 255, 255});
  canvas.FrameRect(square, Pen{kEdge, 1});
  if (checked) {
    canvas.Line(Point{square.left + 3, top + 6}, Point{square.left + 5, top + 9}, Pen{kInk, 2});
    canvas.Line(Point{square.left + 5, top + 9}, Point{square.left + 10, top + 3}, Pen{kInk, 2});
  }
  TextStyle style;
  style.opaque = false;
  canvas.Text(square.right + 5, (rect.top + rect.bottom - canvas.LineHeight(FontId::Default)) / 2, text, style);
}

void DrawScrollBarFace(Canvas& canvas, const Rect& rect, bool vertical, const ScrollState& state) {
  canvas.FillRect(rect, kTrough);
  const int length = vertical ? rect.Height() : rect.Width();
  const int range = std::max(0, state.maximum - state.minimum);
  const int total = range + state.page;
  const int thumb = std::max(10, total > 0 ? length * state.page / total : length);
  const int offset = range > 0 ? (length - thumb) * (std::clamp(state.value, state.minimum, state.maximum) - state.minimum) / range : 0;
  const Rect knob = vertical ? Rect{rect.left + 1, rect.top + offset, rect.right - 1, rect.top + offset + thumb}
                             : Rect{rect.left + offset, rect.top + 1, rect.left + offset + thumb, rect.bottom - 1};
  canvas.FillRect(knob, kThumb);
}

}  // namespace vantor::ui
