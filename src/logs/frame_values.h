#pragma once
// The engineering values the log exports show, taken from frame bytes with
// the same conversions the live displays use.

#include <cstdint>

#include "settings/settings.h"

namespace vantor::exports {

// Byte 204: 0 = 1-bar, 1 = 2-bar (bit 7), 2 = 3-bar (bit 6) MAP sensor.
int MapSensorIndex(const std::uint8_t* data);
double MapKpa(int sensorIndex, unsigned code);
// Boost in psi; 0 with a 1-bar sensor.
double BoostPsi(int sensorIndex, unsigned code);
double SpeedUnits(unsigned code, const Settings& settings);
double Temperature(unsigned code, const Settings& settings);
double Percent(unsigned code);
double O2Mv(unsigned code);
double Spark(unsigned code);
double Retard(unsigned code);
double Baro(unsigned code);
double VacuumKpa(unsigned code);
double DeltaMap(unsigned code);
double Tenth(unsigned code);
// A pulse width or enrichment code in ms, limited to cap.
double PulseMsCapped(unsigned code, double cap);
// 920920 / constant + 0.5, truncated; 0 for the constant 0 (no calibration).
int PulsesPerMileField(unsigned constant);
int Rpm(const std::uint8_t* data);
// Injector duty cycle, truncated.
int DutyPercent(const std::uint8_t* data);

inline unsigned RunSeconds(const std::uint8_t* data) { return static_cast<unsigned>(data[235]) << 8 | data[236]; }
inline char Flag(const std::uint8_t* data, int byte, unsigned mask) { return (data[byte] & mask) != 0 ? 'Y' : 'N'; }

}  // namespace vantor::exports
