#include "ui/draw/pane_painter.h"

#include <cstddef>

namespace vantor::ui {

Rgb ToCanvasRgb(vantor::Rgb colour) { return Rgb{colour.r, colour.g, colour.b}; }

void PaintPane(Canvas& canvas, const MessagePane& pane, FontId font) {
  const PaneStyle& style = pane.Style();
  const auto rows = pane.Snapshot();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    TextStyle text;
    text.font = font;
    text.colour = ToCanvasRgb(style.text);
    text.background = ToCanvasRgb(rows[i].background);
    canvas.Text(style.x, style.y + static_cast<int>(i) * style.lineHeight, rows[i].text, text);
  }
}

}  // namespace vantor::ui
