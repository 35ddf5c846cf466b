#include "ui/draw/bar_gauge.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace vantor::ui {
namespace {

constexpr Rgb kBarInside{180, 180, 180};
constexpr int kBarHeight = 171;

BarGauge Bar(const char* label, const char* unit, BarSource source, int offset, BarConversion conversion, double min,
             double max, double step, int x, const char* format, int kind, int dx, int dy, int colour, int row,
             int temperature) {
  return BarGauge{label, unit, source, offset, conversion, min, max, step, x, format, kind, dx, dy, colour, row,
                  temperature};
}

}  // namespace

BarTable MakeBarTable() {
  using S = BarSource;
  using C = BarConversion;
  return BarTable{{
      Bar("IGN", "", S::Byte, 69, C::Tenths, 0, 20, 5, 40, " %4.1f V ", 1, -6, 41, 4, 0, -1),
      Bar(" PMP", "", S::Byte, 70, C::Tenths, 0, 20, 5, 53, " %4.1f V ", 1, 0, 25, 4, 1, -1),
      Bar("CTS", "", S::Byte, 227, C::TempC, -20, 120, 20, 109, " %2d °C ", 0, 4, 41, 0, 0, 1),
      Bar("  IAT", "", S::Byte, 126, C::TempC, -20, 120, 20, 122, " %2d °C ", 0, 6, 25, 0, 1, 1),
      Bar("CTS", "", S::Byte, 227, C::TempF, -5, 245, 50, 109, " %3d °F ", 0, 4, 41, 0, 0, 0),
      Bar("  IAT", "", S::Byte, 126, C::TempF, -5, 245, 50, 122, " %3d °F ", 0, 6, 25, 0, 1, 0),
      Bar(" OIL", "°C", S::Byte, 88, C::TempC, 0, 150, 25, 176, " %2d ", 0, 4, 41, 0, 0, 1),
      Bar(" OIL", "°F", S::Byte, 88, C::TempF, 25, 305, 70, 176, " %3d ", 0, 4, 41, 0, 0, 0),
      Bar("  SA", "Deg", S::Byte, 10, C::Spark, 0, 60, 10, 224, " %2d ", 0, 2, 41, 2, 0, -1),
      Bar("KNK  ", "Cnt", S::Knock, 115, C::Raw, 0, 1024, 256, 286, "  %4d  ", 0, 0, 41, 1, 0, -1),
      Bar("SaRt ", "Deg", S::Byte, 119, C::Retard, 0, 20, 5, 331, " %3d ", 0, 0, 41, 1, 0, -1),
      Bar("TPS", " %", S::Byte, 73, C::Percent, 0, 100, 20, 387, " %3d ", 0, 0, 41, 2, 0, -1),
      Bar("MAP", "KPa", S::Byte, 38, C::LoadKpa, 20, 100, 20, 443, " %3d ", 0, 0, 41, 2, 0, -1),
      Bar(" IAC", "Stps", S::Byte, 253, C::Raw, 0, 200, 50, 499, " %3d ", 0, 0, 41, 4, 0, -1),
      Bar("sPW", "mS", S::Word, 167, C::PulseMs, 0, 20, 5, 549, " %4.1f ", 1, -2, 41, 5, 0, -1),
      Bar("aPW", "mS", S::Word, 138, C::PulseMs, 0, 15, 5, 600, " %4.1f ", 1, -2, 41, 5, 0, -1),
      Bar(" DC", " %", S::DutyCycle, 0, C::None, 0, 100, 20, 656, " %3d ", 0, 0, 41, 5, 0, -1),
      Bar("BST", "PSI", S::Boost, 44, C::None, 0, 15, 5, 706, " %2d ", 0, 0, 41, 1, 0, -1),
      Bar(" O2", "mV", S::Byte, 62, C::Millivolts, 0, 1000, 250, 768, " %4d ", 0, 0, 41, 4, 0, -1),
  }};
}

Rgb BarColour(int index) {
  static constexpr Rgb kColours[] = {{210, 63, 10}, {245, 20, 20}, {20, 10, 225},
                                     {255, 255, 30}, {255, 153, 0}, {10, 160, 5}};
  return kColours[std::clamp(index, 0, 5)];
}

bool BarShown(const BarGauge& bar, int temperScale) {
  return bar.temperature == -1 || bar.temperature == temperScale;
}

int BarTop(double value, double min, double max) { return BarTopOf(value, min, max, kBarHeight); }

int BarTopOf(double value, double min, double max, int height) {
  if (max <= min) return height - 1;
  const double ratio = (std::clamp(value, min, max) - min) / (max - min);
  return height - static_cast<int>(ratio * height + 0.5) - 1;
}

double ConvertBarValue(const BarGauge& bar, unsigned raw) {
  const double x = raw;
  switch (bar.conversion) {
    case BarConversion::Tenths: return x / 10.0;
    case BarConversion::TempC: return x * 0.75 - 40.0;
    case BarConversion::TempF: return x * 1.35 - 40.0;
    case BarConversion::Spark: return x * 0.3515625;
    case BarConversion::Retard: return x * 0.17578125;
    case BarConversion::Percent: return x * 0.390625;
    case BarConversion::LoadKpa: return x * 0.3125 + 20.0;
    case BarConversion::PulseMs: return x * 0.0152587890625;
    case BarConversion::Millivolts: return x * 4.42;
    case BarConversion::Raw: return x;
    case BarConversion::None: return 0.0;
  }
  return 0.0;
}

double BoostPsi(int mapSensorBar, std::uint8_t code) {
  constexpr double kPsiPerKpa = 0.145037738;
  if (mapSensorBar == 2) return code * 0.625 * kPsiPerKpa;
  if (mapSensorBar == 3) return code * 1.2335 * kPsiPerKpa;
  return 0.0;
}

double BoostScaleMax(int mapSensorBar, double current) {
  if (mapSensorBar == 2) return 15.0;
  if (mapSensorBar == 3) return 30.0;
  return current;
}

void DrawBarFace(Canvas& canvas, const BarGauge& bar) {
  const int x = bar.x, y = kBarY;
  const Point outline[] = {{x - 3, y - 2}, {x + 11, y - 2}, {x + 11, y + 173}, {x - 2, y + 173}, {x - 2, y - 2}};
  canvas.Polyline(outline, Pen{colour::kDim, 2});
  canvas.FillRect(Rect{x - 1, y - 1, x + 10, y + 172}, kBarInside);
  TextStyle label;
  if (bar.row == 0 && bar.step > 0) {
    const int intervals = static_cast<int>((bar.max - bar.min) / bar.step);
    TextStyle scale = label;
    scale.align = Align::Right;
    for (int i = 0; i <= intervals; ++i) {
      const int t = static_cast<int>(i * (static_cast<double>(kBarHeight) / intervals) + 0.5);
      canvas.Line(Point{x - 8, y + t}, Point{x - 2, y + t}, Pen{colour::kText, 1});
      char text[32];
      std::snprintf(text, sizeof text, " %2d", static_cast<int>(bar.max - i * bar.step));
      canvas.Text(x - 12, y - 8 + t, text, scale);
    }
  }
  if (bar.row == 0)
    canvas.Text(x - 10, y + 179, bar.label, label);
  else
    canvas.Text(x - 16, y + 193, bar.label, label);
  if (*bar.unit) canvas.Text(x - 6, y - 26, bar.unit, label);
  const Pen ink{BarColour(bar.colourIndex), 1};
  for (int row = kBarEmptyTop; row >= bar.lastDrawnTop; --row)
    canvas.Line(Point{x - 1, y + row}, Point{x + 10, y + row}, ink);
}

std::string BarValueText(const BarGauge& bar) {
  char text[48];
  if (bar.kind == 0)
    std::snprintf(text, sizeof text, bar.format, static_cast<int>(std::lround(bar.value)));
  else
    std::snprintf(text, sizeof text, bar.format, bar.value);
  return text;
}

void DrawBarLevel(Canvas& canvas, BarGauge& bar) {
  const int x = bar.x, y = kBarY;
  const int top = BarTop(bar.value, bar.min, bar.max);
  bar.currentTop = top;
  if (top > bar.lastDrawnTop) {
    const Pen grey{kBarInside, 1};
    for (int row = bar.lastDrawnTop; row < top; ++row) canvas.Line(Point{x - 1, y + row}, Point{x + 10, y + row}, grey);
  } else if (top < bar.lastDrawnTop) {
    const Pen ink{BarColour(bar.colourIndex), 1};
    for (int row = bar.lastDrawnTop; row >= top; --row) canvas.Line(Point{x - 1, y + row}, Point{x + 10, y + row}, ink);
  }
  bar.lastDrawnTop = top;
  TextStyle style;
  style.align = Align::Centre;
  canvas.Text(x + bar.dx, y - bar.dy, BarValueText(bar), style);
}

}  // namespace vantor::ui
