#pragma once
// Plain faces of push buttons, check boxes and scroll bars, for renderings
// made without a window (the window's own controls draw themselves).

#include <string_view>

#include "ui/canvas.h"

namespace vantor::ui {

void DrawButtonFace(Canvas& canvas, const Rect& rect, std::string_view text);
void DrawCheckBoxFace(Canvas& canvas, const Rect& rect, std::string_view text, bool checked);

struct ScrollState {
  int minimum = 0, maximum = 0, page = 1, value = 0;
};
void DrawScrollBarFace(Canvas& canvas, const Rect& rect, bool vertical, const ScrollState& state);

}  // namespace vantor::ui
