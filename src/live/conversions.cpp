#include "live/conversions.h"

#include <algorithm>

#include "live/live_data.h"
#include "live/live_frame.h"
#include "live/sensor_temp_tables.h"

namespace vantor {

double PercentCode(unsigned x) { return x * 0.390625; }
double O2Millivolts(unsigned x) { return x * 4.42; }
double PulsesPerMile(unsigned x) { return x == 0 ? 0.0 : 920920.0 / x; }
double RpmStep12(unsigned x) { return x * 12.5; }
double RpmStep25(unsigned x) { return x * 25.0; }
double RpmStep31(unsigned x) { return x * 31.25; }
double Speed(unsigned x, int kphOrMph) { return kphOrMph == 1 ? x * 1.609344 : x; }
double LoadKpa(unsigned x) { return x * 0.3125 + 20.0; }
double Map1Bar(unsigned x) { return 0.369 * x + 10.415; }
double Map2Bar(unsigned x) { return 0.7705 * x + 8.0; }
double Map3Bar(unsigned x) { return 1.2335 * x + 1.1; }
double Boost2Bar(unsigned x) { return x * 0.625; }
double Boost3Bar(unsigned x) { return x * 1.2335; }
double Vacuum(unsigned x) { return 80.0 - x * 0.3125; }
double Tenths(unsigned x) { return x / 10.0; }
double SparkDegrees(unsigned x) { return x * 0.3515625; }
double RetardDegrees(unsigned x) { return x * 0.17578125; }
double PulseMs(unsigned x) { return x * 0.0152587890625; }
double TempCodeC(unsigned x) { return x * 0.75 - 40.0; }
double TempCodeF(unsigned x) { return x * 1.35 - 40.0; }

double TempCode(unsigned x, int temperScale) {
  if (temperScale == 0) return TempCodeF(x);
  if (temperScale == 1) return TempCodeC(x);
  return 0.0;
}

double CelsiusToF(double c) { return c * 1.8 + 32.0; }
double FahrenheitToC(double f) { return (f - 32.0) / 1.8; }

int SensorTemp(unsigned counts, int table) {
  return SensorTempTableAt(table)[std::min(counts, 255u)];
}

int CoolantSensorTemp(unsigned counts, unsigned frameByte212) {
  if (frameByte212 & 0x01) return SensorTemp(counts, kCoolantTableHot);
  return SensorTemp(std::min(counts + 10, 255u), kCoolantTableCold);
}

double DutyCycle(const std::uint8_t* frame) {
  int rpm = ComputeRpm(frame);
  if (rpm <= 0) return 0.0;
  double basePwMs = PulseMs(frame::Word(frame, frame::kBasePw));
  double periodMs = (1.0 / (rpm / 60.0)) * 2000.0;
  return std::min(basePwMs / periodMs * 100.0, 255.0);
}

}  // namespace vantor
