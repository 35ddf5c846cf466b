#pragma once
// The vertical bar gauges of the gauge display: the table of bars and their
// drawing. A bar's rows run from 0 (top) to 171 (bottom) below its y; the
// coloured part is the rows from its top down to 171.

#include <array>
#include <cstdint>

#include "ui/canvas.h"

namespace vantor::ui {

constexpr int kBarEmptyTop = 171;
constexpr int kBarY = 340;

enum class BarSource { Byte, Word, DutyCycle, Boost, Knock };
enum class BarConversion { Tenths, TempC, TempF, Spark, Retard, Percent, LoadKpa, Raw, PulseMs, Millivolts, None };

struct BarGauge {
  const char* label;
  const char* unit;
  BarSource source;
  int offset;
  BarConversion conversion;
  double min, max, step;
  int x;
  const char* format;
  int kind;  // 0 whole number, 1 one decimal place
  int dx, dy;
  int colourIndex;
  int row;          // 0: first row with a scale, 1: second row
  int temperature;  // -1 always, 1 Celsius only, 0 Fahrenheit only

  double value = 0.0;
  int currentTop = kBarEmptyTop;
  int lastDrawnTop = kBarEmptyTop;
};

using BarTable = std::array<BarGauge, 19>;
BarTable MakeBarTable();

Rgb BarColour(int index);
bool BarShown(const BarGauge& bar, int temperScale);
// 171 - (ratio x 171 + 0.5, truncated) - 1 of the value clamped into the scale.
int BarTop(double value, double min, double max);
// The same for a bar of any height.
int BarTopOf(double value, double min, double max, int height);
// Raw frame value through the bar's conversion (Byte and Word sources).
double ConvertBarValue(const BarGauge& bar, unsigned raw);
// Boost psi and the boost scale maximum by the MAP sensor type (1, 2 or 3
// bar); a 1-bar sensor has no boost and leaves the scale as it is.
double BoostPsi(int mapSensorBar, std::uint8_t code);
double BoostScaleMax(int mapSensorBar, double current);

// Frame, inside, scale (first row), label and unit, and the bar up to its last drawn top.
void DrawBarFace(Canvas& canvas, const BarGauge& bar);
// Brings the bar from its last drawn top to the current value's top (only the
// rows that change) and writes the value text.
void DrawBarLevel(Canvas& canvas, BarGauge& bar);
std::string BarValueText(const BarGauge& bar);

}  // namespace vantor::ui
