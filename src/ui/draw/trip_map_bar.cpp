#include "ui/draw/trip_map_bar.h"

#include "ui/draw/bar_gauge.h"
#include "ui/draw/text_format.h"

namespace vantor::ui {
namespace {

constexpr TripMapBar kBars[] = {
    {38, 0.3125, 20.0, 20, 100, 20, 400, 300, 171},
    {45, 0.7705, 8.0, 20, 200, 20, 400, 95, 376},
    {45, 1.2335, 1.1, 20, 300, 40, 400, 95, 376},
};

void Rows(Canvas& canvas, const TripMapBar& bar, int fromRow, int toRow, Rgb colour) {
  const Pen pen{colour, 1};
  for (int row = fromRow; row <= toRow; ++row)
    canvas.Line(Point{bar.x - 1, bar.y + row}, Point{bar.x + 10, bar.y + row}, pen);
}

}  // namespace

const TripMapBar& TripMapBarFor(int mapSensorBar) {
  if (mapSensorBar == 2 || mapSensorBar == 3) return kBars[mapSensorBar - 1];
  return kBars[0];
}

double TripMapValue(const TripMapBar& bar, const std::uint8_t* frame) {
  return frame[bar.offset] * bar.scale + bar.add;
}

void DrawTripBarFace(Canvas& canvas, const TripMapBar& bar, int lastTop) {
  const int x = bar.x, y = bar.y, h = bar.height;
  const Point outline[] = {{x - 3, y - 2}, {x + 11, y - 2}, {x + 11, y + h + 2}, {x - 2, y + h + 2}, {x - 2, y - 2}};
  canvas.Polyline(outline, Pen{colour::kText, 2});
  canvas.FillRect(Rect{x - 1, y - 1, x + 10, y + h + 1}, colour::kBackground);
  const int intervals = static_cast<int>((bar.max - bar.min) / bar.step);
  TextStyle label;
  label.align = Align::Right;
  for (int i = 0; i <= intervals; ++i) {
    const int t = static_cast<int>(static_cast<double>(i) * h / intervals + 0.5);
    canvas.Line(Point{x - 8, y + t}, Point{x - 2, y + t}, Pen{colour::kText, 1});
    canvas.Text(x - 12, y + t - 8, FormatText("%2d", static_cast<int>(bar.max - i * bar.step)), label);
  }
  canvas.Text(x - 10, y + h + 8, "MAP", TextStyle{});
  canvas.Text(x - 8, y + h + 24, "KPa", TextStyle{});
  Rows(canvas, bar, lastTop, h, colour::kText);
}

void DrawTripBarLevel(Canvas& canvas, const TripMapBar& bar, int& lastTop, double value) {
  const int top = BarTopOf(value, bar.min, bar.max, bar.height);
  if (top > lastTop) Rows(canvas, bar, lastTop, top - 1, colour::kBackground);
  if (top < lastTop) Rows(canvas, bar, top, lastTop, colour::kText);
  lastTop = top;
}

}  // namespace vantor::ui
