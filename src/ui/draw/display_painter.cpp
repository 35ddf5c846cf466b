#include "ui/draw/display_painter.h"

namespace vantor::ui {

DisplayTitle TitleOf(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::Trip: return {"Trip Distance and Fuel Information", 232};
    case DisplayMode::Gauges: return {"Corvane KDM-9 Vantor Display", 196};
    case DisplayMode::VeLearn: return {"Volumetric Efficiency Learn", 268};
    case DisplayMode::SparkKnock: return {"Areas of Spark Knock", 298};
    case DisplayMode::Diagnostic: return {"Sensor Diagnostics", 300};
    case DisplayMode::Analysis:
    case DisplayMode::Flash: break;
  }
  return {nullptr, 0};
}

bool IsLiveDisplay(DisplayMode mode) { return TitleOf(mode).text != nullptr; }

DisplayPainter::DisplayPainter(const LiveView& view, StatusPanel& panel, GaugeDisplay& gauges)
    : view_(view), panel_(panel), gauges_(gauges) {}

void DisplayPainter::SetBody(DisplayMode mode, DisplayBody* body) { bodies_[static_cast<int>(mode)] = body; }

void DisplayPainter::Paint(Canvas& canvas, DisplayMode mode) {
  canvas.FillRect(Rect{0, 0, 800, 600}, colour::kBackground);
  DisplayBody* body = bodies_[static_cast<int>(mode)];
  if (!IsLiveDisplay(mode)) {
    if (body) body->Paint(canvas);
    return;
  }
  panel_.DrawPanel(canvas, mode == DisplayMode::Gauges);
  const DisplayTitle title = TitleOf(mode);
  TextStyle titleStyle;
  titleStyle.font = FontId::Title;
  canvas.Text(title.x, 6, title.text, titleStyle);
  if (mode == DisplayMode::Gauges) {
    gauges_.DrawFace(canvas);
    gauges_.DrawDynamic(canvas);
    if (view_.State().playing) {
      TextStyle small;
      small.font = FontId::Small;
      canvas.Text(665, 123, "Playback Rate", small);
    }
  } else if (body) {
    body->Paint(canvas);
  }
}

}  // namespace vantor::ui
