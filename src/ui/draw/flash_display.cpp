#include "ui/draw/flash_display.h"

#include "cal/bank_jobs.h"
#include "ui/draw/pane_painter.h"

namespace vantor::ui {
namespace {

void DrawName(Canvas& canvas, int y, const std::string& name, bool current) {
  TextStyle style;
  style.font = FontId::Medium;
  canvas.Text(334, y, std::string(kFileNameShown, ' '), style);
  style.colour = current ? colour::kText : kFileNameOther;
  canvas.Text(339, y, name.substr(0, kFileNameShown), style);
}

// The display's picture: a module outline with its name, 200 x 100 at (580, 40).
void DrawPicture(Canvas& canvas) {
  // A 2-pixel pen covers the edge and the pixel before it: this frame fills
  // the outermost two rows and columns of the 200 x 100 picture.
  canvas.FrameRect(Rect{581, 41, 780, 140}, Pen{colour::kDim, 2});
  canvas.FrameRect(Rect{600, 58, 760, 104}, Pen{Rgb{33, 165, 33}, 1});
  for (int x = 608; x < 756; x += 12) canvas.Line(Point{x, 104}, Point{x, 116}, Pen{colour::kDim, 2});
  TextStyle big;
  big.font = FontId::Large;
  big.align = Align::Centre;
  canvas.Text(680, 66, "KDM-9", big);
  TextStyle small;
  small.font = FontId::Small;
  small.align = Align::Centre;
  small.colour = Rgb{210, 63, 10};
  canvas.Text(680, 120, "ORV FLASH", small);
}

}  // namespace

void DrawFlashFileNames(Canvas& canvas, const Settings& settings) {
  const bool reading = settings.flshAction == kFlashRead;
  DrawName(canvas, 157, settings.flshBinFile, !reading);
  DrawName(canvas, 209, settings.readBinFile, reading);
}

void FlashDisplay::Paint(Canvas& canvas) {
  DrawPicture(canvas);
  TextStyle title;
  title.font = FontId::Title;
  canvas.Text(280, 6, "ORV KDM-9 Flash Program", title);
  PaintPane(canvas);
  DrawFlashFileNames(canvas, settings_);
}

void FlashDisplay::PaintPane(Canvas& canvas) const { vantor::ui::PaintPane(canvas, pane_, FontId::Medium); }

}  // namespace vantor::ui
