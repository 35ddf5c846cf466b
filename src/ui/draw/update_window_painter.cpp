#include "ui/draw/update_window_painter.h"

#include "ui/draw/pane_painter.h"

namespace vantor::ui {
namespace {

TextStyle FaceText(FontId font, Align align = Align::Left) {
  TextStyle style;
  style.font = font;
  style.colour = update_face::kText;
  style.background = update_face::kBackground;
  style.align = align;
  return style;
}

void DrawTitle(Canvas& canvas) {
  const std::string title = "Corvane KDM-9 Flash ECM Update Utility";
  const int x = 400 - 11 * static_cast<int>(title.size() / 2);
  canvas.Text(x, 10, title, FaceText(update_face::kTitleFont));
}

void DrawIntroduction(Canvas& canvas) {
  const auto& lines = UpdateIntroduction();
  for (std::size_t i = 0; i < lines.size(); ++i)
    canvas.Text(60, 120 + 20 * static_cast<int>(i), lines[i], FaceText(FontId::Default));
}

}  // namespace

const std::array<const char*, 8>& UpdateIntroduction() {
  static const std::array<const char*, 8> lines = {
      "This utility is to update your current ORV KDM9 Flash ECM to version 1.1",
      "",
      "The upgrade process retains all of your current calibration parameters. ",
      "",
      "This version of the ORV KDM-9 Flash provides WasteGate control.",
      "",
      "",
      "To Update: select the proper COM port, key-on, engine-off, and press the button below to proceed. . . "};
  return lines;
}

void PaintUpdateWindow(Canvas& canvas, const MessagePane& pane, const UpdateFace& face) {
  canvas.FillRect(Rect{0, 0, 800, 600}, update_face::kBackground);
  DrawTitle(canvas);
  if (face.paneShown)
    DrawUpdatePane(canvas, pane);
  else
    DrawIntroduction(canvas);
  DrawUpdatePortStatus(canvas, face.portName, face.portOpen);
}

void DrawUpdatePane(Canvas& canvas, const MessagePane& pane) { PaintPane(canvas, pane, update_face::kPaneFont); }

void DrawUpdatePortStatus(Canvas& canvas, const std::string& portName, bool open) {
  canvas.Text(200, update_face::kStatusY, "                    ", FaceText(FontId::Default, Align::Right));
  canvas.Text(178, update_face::kStatusY, portName + ":", FaceText(FontId::Default, Align::Right));
  canvas.Text(230, update_face::kStatusY, open ? "Open  " : "Closed", FaceText(FontId::Default, Align::Right));
}

}  // namespace vantor::ui
