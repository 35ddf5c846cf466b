#include "ui/draw/pitch_text.h"

namespace vantor::ui {

void PitchText(Canvas& canvas, int x, int y, std::string_view text, int pitch, const TextStyle& style) {
  const int width = static_cast<int>(text.size()) * pitch;
  if (style.opaque) canvas.FillRect(Rect{x, y, x + width, y + canvas.LineHeight(style.font)}, style.background);
  TextStyle ink = style;
  ink.opaque = false;
  ink.align = Align::Left;
  char one[2] = {0, 0};
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    one[0] = text[i];
    canvas.Text(x + static_cast<int>(i) * pitch, y, std::string_view(one, 1), ink);
  }
}

}  // namespace vantor::ui
