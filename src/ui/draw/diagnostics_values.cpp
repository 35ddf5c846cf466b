#include "ui/draw/diagnostics_values.h"

#include <algorithm>

#include "live/conversions.h"
#include "live/live_frame.h"
#include "live/sensor_temp_tables.h"

namespace vantor::ui {
namespace {

constexpr double kVoltsPerCount = 0.0196078431372549;  // 5 / 255

double MapKpa(int mapSensorBar, unsigned code) {
  if (mapSensorBar == 2) return Map2Bar(code);
  if (mapSensorBar == 3) return Map3Bar(code);
  return Map1Bar(code);
}

}  // namespace

void ReadDiagnosticValues(DiagnosticValues& v, const std::uint8_t* frame, double rpm, int mapSensorBar,
                          int kphOrMph) {
  v.rpm = static_cast<int>(rpm);
  v.speedRaw = frame[frame::kSpeed];
  v.speed = static_cast<int>(Speed(frame[frame::kSpeed], kphOrMph));
  v.mapRaw = frame[frame::kMap];
  v.mapKpa = MapKpa(mapSensorBar, frame[frame::kMap]);
  v.mapVolts = v.mapRaw * kVoltsPerCount;
  v.tpsRaw = frame[frame::kTpsCounts];
  v.tpsVolts = v.tpsRaw * kVoltsPerCount;
  v.ctsRaw = frame[frame::kCoolantCounts];
  if ((frame[frame::kFlags149] & 0x01) == 0)
    v.ctsCode = CoolantSensorTemp(frame[frame::kCoolantCounts], frame[frame::kCoolantTable]);
  v.iatRaw = frame[frame::kIatCounts];
  v.iatCode = SensorTemp(frame[frame::kIatCounts], kIntakeAirTable);
  v.o2Raw = frame[frame::kO2];
  v.o2Millivolts = static_cast<int>(O2Millivolts(frame[frame::kO2]));
}

double CodeCelsius(int code) { return code * 0.75 - 40.0; }
double CodeFahrenheit(int code) { return code * 1.35 - 40.0; }

int NarrowBandY(int millivolts) {
  const double mv = std::clamp(millivolts, 0, 1000);
  return kChartBottom - static_cast<int>(mv / 10.0 * 1.9125 + 0.5);
}

double ChartAfr(double afr) {
  if (!(afr > kChartAfrLow)) return kChartAfrLow;  // also a ratio that is not a number
  return std::min(afr, kChartAfrHigh);
}

int WidebandY(double chartAfr) {
  return kChartBottom - static_cast<int>((ChartAfr(chartAfr) - kChartAfrLow) * 19.125 + 0.5);
}

}  // namespace vantor::ui
