#pragma once
// The sensor diagnostics' values: raw A/D counts of the main sensors with
// their converted values, and the strip chart's y mapping.

#include <cstdint>

namespace vantor::ui {

struct DiagnosticValues {
  int rpm = 0;
  int speedRaw = 0, speed = 0;
  int mapRaw = 0;
  double mapKpa = 0.0, mapVolts = 0.0;
  int tpsRaw = 0;
  double tpsVolts = 0.0;
  int ctsRaw = 0, ctsCode = 0;  // the code is kept while frame byte 149 bit 0 is set
  int iatRaw = 0, iatCode = 0;
  int o2Raw = 0, o2Millivolts = 0;
};

// Refreshes values from a frame; ctsCode keeps its value while the ECM says so.
void ReadDiagnosticValues(DiagnosticValues& values, const std::uint8_t* frame, double rpm, int mapSensorBar,
                          int kphOrMph);
double CodeCelsius(int code);
double CodeFahrenheit(int code);

// The strip chart: (92, 330)-(771, 522), new points at x = 763..767.
constexpr int kChartBottom = 521;
constexpr double kChartAfrLow = 10.0;
constexpr double kChartAfrHigh = 20.0;
int NarrowBandY(int millivolts);
// The air/fuel ratio the chart keeps: limited to 10..20.
double ChartAfr(double afr);
int WidebandY(double chartAfr);

}  // namespace vantor::ui
