#include "ui/draw/pane_painter.h"

#include <algorithm>
#include <cstddef>

#include "ui/draw/pitch_text.h"

namespace vantor::ui {

Rgb ToCanvasRgb(vantor::Rgb colour) { return Rgb{colour.r, colour.g, colour.b}; }

namespace {

// The font's own character pitch, or a narrower one when the pane's width in
// characters would run past its scrolled rectangle.
int PanePitch(const Canvas& canvas, const PaneStyle& style, FontId font) {
  const int fits = (style.scrollRight - style.x) / std::max(style.width, 1);
  return std::min(canvas.TextWidth("M", font), fits);
}

}  // namespace

void PaintPane(Canvas& canvas, const MessagePane& pane, FontId font) {
  const PaneStyle& style = pane.Style();
  const int pitch = PanePitch(canvas, style, font);
  const auto rows = pane.Snapshot();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    TextStyle text;
    text.font = font;
    text.colour = ToCanvasRgb(style.text);
    text.background = ToCanvasRgb(rows[i].background);
    PitchText(canvas, style.x, style.y + static_cast<int>(i) * style.lineHeight, rows[i].text, pitch, text);
  }
}

}  // namespace vantor::ui
