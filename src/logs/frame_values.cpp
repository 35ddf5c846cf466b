#include "logs/frame_values.h"

#include "live/conversions.h"
#include "live/live_data.h"
#include "live/live_frame.h"

namespace vantor::exports {

const FlagColumn kFlagColumns[kFlagColumnCount] = {
    {"Bo", 2, 0x40},   {"Ae", 13, 0x40},   {"De", 13, 0x10},   {"Id", 2, 0x80},    {"Hw", 3, 0x04},   {"Pe", 13, 0x80},
    {"Dc", 8, 0x08},   {"Cl", 14, 0x80},   {"Ln", 14, 0x02},   {"F1", 140, 0x01},  {"F2", 140, 0x02}, {"Ac", 5, 0x08},
    {"Tc", 5, 0x80},   {"Cp", 6, 0x01},    {"Eg", 180, 0x80},  {"Pt", 149, 0x10},  {"Cv", 149, 0x20}};

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

double BasePwMs(unsigned code) { return PulseMsCapped(code, 99.0); }
double LimitedPwMs(unsigned code) { return PulseMsCapped(code, 99.9); }

unsigned DeltaTpsCode(const std::uint8_t* data) {
  const unsigned tps = data[frame::kTps], previous = data[frame::kTpsPrevious];
  return tps > previous ? tps - previous : 0;
}

unsigned LoopState(const std::uint8_t* data) { return data[frame::kLoopState] >= 2 ? 2u : data[frame::kLoopState]; }
unsigned StickGear(const std::uint8_t* data) { return data[frame::kGear] >= 9 ? 9u : data[frame::kGear]; }

AutoRange AutoGear(const std::uint8_t* data) {
  if (data[frame::kFlags15] & 0x10) return AutoRange::ParkNeutral;
  if (data[frame::kTransRange] & 0x04) return AutoRange::Overdrive;
  if (data[frame::kTransRange] & 0x02) return AutoRange::Third;
  return AutoRange::FirstSecond;
}

int PulsesPerMileField(unsigned constant) {
  // No calibration: the field keeps its width with 0.
  if (constant == 0) return 0;
  return static_cast<int>(PulsesPerMile(constant) + 0.5);
}

int Rpm(const std::uint8_t* data) { return ComputeRpm(data); }
int DutyPercent(const std::uint8_t* data) { return static_cast<int>(DutyCycle(data)); }

}  // namespace vantor::exports
