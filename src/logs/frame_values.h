#pragma once
// The engineering values the log exports show, taken from frame bytes with
// the same conversions the live displays use.

#include <cstdint>

#include "logs/fixed_text.h"
#include "settings/settings.h"

namespace vantor::exports {

// The dump's number formats; the viewer export keeps their places without the padding.
namespace format {
constexpr FixedFormat kSpeed{3, 0}, kMap{3, 0}, kBoost{3, 0}, kBaro{3, 0}, kVacuum{3, 0}, kPercent{3, 0};
constexpr FixedFormat kTemperature{3, 0}, kO2{4, 0}, kSpark{2, 0}, kRetard{2, 0};
constexpr FixedFormat kBasePw{6, 3}, kActualPw{5, 2}, kCommandedAfr{4, 1}, kWideband{4, 1};
constexpr FixedFormat kDeltaTps{4, 1}, kEnrichment{6, 3}, kDeltaMap{4, 1}, kAePw{6, 3};
}  // namespace format

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
// The pulse-width columns by their frame code: sPW is limited to 99.0 ms,
// aPW, the enrichments and aePW to 99.9 ms.
double BasePwMs(unsigned code);
double LimitedPwMs(unsigned code);
// The dTPS column's code: the throttle's rise since the previous frame.
unsigned DeltaTpsCode(const std::uint8_t* data);
// The second "Cl" column: the loop state, 2 at most.
unsigned LoopState(const std::uint8_t* data);
// The gear with [TRANSTYPE] 0, 9 at most.
unsigned StickGear(const std::uint8_t* data);
// The range of an automatic ([TRANSTYPE] 1).
enum class AutoRange { ParkNeutral, FirstSecond, Third, Overdrive };
AutoRange AutoGear(const std::uint8_t* data);
// 920920 / constant + 0.5, truncated; 0 for the constant 0 (no calibration).
int PulsesPerMileField(unsigned constant);
int Rpm(const std::uint8_t* data);
// Injector duty cycle, truncated.
int DutyPercent(const std::uint8_t* data);

// The 17 status flag columns, Bo to Cv, in export order.
struct FlagColumn {
  const char* name;
  int byte;
  unsigned mask;
};
constexpr int kFlagColumnCount = 17;
extern const FlagColumn kFlagColumns[kFlagColumnCount];

inline unsigned RunSeconds(const std::uint8_t* data) { return static_cast<unsigned>(data[235]) << 8 | data[236]; }
inline char Flag(const std::uint8_t* data, int byte, unsigned mask) { return (data[byte] & mask) != 0 ? 'Y' : 'N'; }

}  // namespace vantor::exports
