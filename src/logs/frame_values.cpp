#include "logs/frame_values.h"

#include "live/conversions.h"
#include "live/live_data.h"
#include "live/live_frame.h"

namespace vantor::exports {

int MapSensorIndex(const std::uint8_t* data) {
  const std::uint8_t config = data[frame::kEngineConfig];
  if (config & 0x80) return 1;
  if (config & 0x40) return 2;
  return 0;
}

double MapKpa(int sensorIndex, unsigned code) {
  if (sensorIndex == 1) return Map2Bar(code);
  if (sensorIndex == 2) return Map3Bar(code);
  return Map1Bar(code);
}

double BoostPsi(int sensorIndex, unsigned code) {
  constexpr double kPsiPerKpa = 0.145037738;
  if (sensorIndex == 1) return Boost2Bar(code) * kPsiPerKpa;
  if (sensorIndex == 2) return Boost3Bar(code) * kPsiPerKpa;
  return 0.0;
}

double SpeedUnits(unsigned code, const Settings& settings) { return Speed(code, settings.kphOrMph); }
double Temperature(unsigned code, const Settings& settings) { return TempCode(code, settings.temperScale); }
double Percent(unsigned code) { return PercentCode(code); }
double O2Mv(unsigned code) { return O2Millivolts(code); }
double Spark(unsigned code) { return SparkDegrees(code); }
double Retard(unsigned code) { return RetardDegrees(code); }
double Baro(unsigned code) { return Map1Bar(code); }
double VacuumKpa(unsigned code) { return Vacuum(code); }
double DeltaMap(unsigned code) { return LoadKpa(code) - 20.0; }
double Tenth(unsigned code) { return Tenths(code); }

double PulseMsCapped(unsigned code, double cap) {
  const double ms = PulseMs(code);
  return ms > cap ? cap : ms;
}

int PulsesPerMileField(unsigned constant) {
  // No calibration: the field keeps its width with 0.
  if (constant == 0) return 0;
  return static_cast<int>(PulsesPerMile(constant) + 0.5);
}

int Rpm(const std::uint8_t* data) { return ComputeRpm(data); }
int DutyPercent(const std::uint8_t* data) { return static_cast<int>(DutyCycle(data)); }

}  // namespace vantor::exports
