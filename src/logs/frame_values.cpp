#include "logs/frame_values.h"

#include "live/live_frame.h"

namespace vantor::exports {

int MapSensorIndex(const std::uint8_t* data) {
  const std::uint8_t config = data[frame::kEngineConfig];
  if (config & 0x80) return 1;
  if (config & 0x40) return 2;
  return 0;
}

double MapKpa(int sensorIndex, unsigned code) {
  if (sensorIndex == 1) return code * 0.7705 + 8.0;
  if (sensorIndex == 2) return code * 1.2335 + 1.1;
  return code * 0.369 + 10.415;
}

double BoostPsi(int sensorIndex, unsigned code) {
  if (sensorIndex == 1) return code * 0.625 * 0.145037738;
  if (sensorIndex == 2) return code * 1.2335 * 0.145037738;
  return 0.0;
}

double SpeedUnits(unsigned code, const Settings& settings) {
  return settings.kphOrMph == 1 ? code * 1.609344 : code;
}

double Temperature(unsigned code, const Settings& settings) {
  if (settings.temperScale == 0) return code * 1.35 - 40;
  if (settings.temperScale == 1) return code * 0.75 - 40;
  return 0.0;
}

double Percent(unsigned code) { return code * 0.390625; }
double O2Mv(unsigned code) { return code * 4.42; }
double Spark(unsigned code) { return code * 0.3515625; }
double Retard(unsigned code) { return code * 0.17578125; }
double Baro(unsigned code) { return code * 0.369 + 10.415; }
double VacuumKpa(unsigned code) { return 80.0 - code * 0.3125; }
double DeltaMap(unsigned code) { return code * 0.3125; }
double Tenth(unsigned code) { return code / 10.0; }

double PulseMsCapped(unsigned code, double cap) {
  const double ms = code * 0.0152587890625;
  return ms > cap ? cap : ms;
}

int PulsesPerMileField(unsigned constant) {
  if (constant == 0) return 0;
  return static_cast<int>(920920.0 / constant + 0.5);
}

int Rpm(const std::uint8_t*) { return 0; }
int DutyPercent(const std::uint8_t*) { return 0; }

}  // namespace vantor::exports
