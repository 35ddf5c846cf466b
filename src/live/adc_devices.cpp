// The built-in devices of the auxiliary channels: wideband controllers and
// fuel pressure senders.

#include <algorithm>

#include "live/conversions.h"
#include "live/wideband_tables.h"

namespace vantor {
namespace {

double Linear20(double v) { return 2.0 * v + 10.0; }
double Afx(double v) { return 1.4 * v + 9.0; }
double Innovate735(double v) { return 3.008 * v + 7.35; }
double Zeitronix(double v) { return 2.0 * v + 9.6; }
double DynoJet(double v) { return 1.6 * v + 10.0; }
double Fjo(double v) { return WidebandTableAfr(WidebandTableFjo(), v); }
double Znl(double v) { return WidebandTableAfr(WidebandTableZnl(), v); }
double Wb0(double v) { return WidebandTableAfr(WidebandTableWb0(), v); }
double Wb1(double v) { return WidebandTableAfr(WidebandTableWb1(), v); }
double Wb0a(double v) { return WidebandTableAfr(WidebandTableWb0a(), v); }
double Wb1a(double v) { return WidebandTableAfr(WidebandTableWb1a(), v); }

constexpr double kShownPsiMax = 99.9;

double AutoMeter(double v, double fullScale) {
  return std::min(std::clamp((v - 0.5) * fullScale / 4.0, 0.0, fullScale), kShownPsiMax);
}
double BmFp(double v, double) { return std::clamp((v - 1.004) * 24.908668, 0.0, kShownPsiMax); }
double ZeroToFive(double v, double fullScale) { return std::min(v * 6.0, fullScale); }
double OneToFive(double v, double) { return std::clamp((v - 1.0) * 25.0, 0.0, kShownPsiMax); }

const std::array<WidebandDevice, kWidebandDeviceCount> kWideband = {{
    {"No Device", nullptr},
    {"TT-1 WB      (0V=10:1 - 5V=20:1)", Linear20},
    {"DIY-WB Non-Linear", DiyWidebandAfr},
    {"FJO/Holley WB Non-Linear", Fjo},
    {"AEM WB       (0V=10:1 - 5V=20:1)", Linear20},
    {"AFX WB        (0V=9:1 - 5V=16:1)", Afx},
    {"PLX WB        (0V=10:1 - 5V=20:1)", Linear20},
    {"Innovate WB (0V=7.35 - 5V=22.39)", Innovate735},
    {"Innovate WB (0V=10:1 - 5V=20:1)", Linear20},
    {"Zeitronix WB Non-Linear", Znl},
    {"Zeitronix WB (0V=9.6:1 - 5V=19.6:1)", Zeitronix},
    {"DynoJet WB  (0V=10:1 - 5V=18:1)", DynoJet},
    {"   WB0   ", Wb0},
    {"   WB1   ", Wb1},
    {"   WB0a  ", Wb0a},
    {"   WB1a  ", Wb1a},
}};

const std::array<FuelPressureDevice, kFuelPressureDeviceCount> kFuelPressure = {{
    {"No Device", 0, nullptr},
    {"AutoMeter   15 psi (0.5 - 4.5V) ", 15, AutoMeter},
    {"AutoMeter   30 psi (0.5 - 4.5V) ", 30, AutoMeter},
    {"AutoMeter 100 psi (0.5 - 4.5V)  ", 100, AutoMeter},
    {"BM_fp       100 psi (1.0 - 5.0V)", 100, BmFp},
    {"0-5V:        0-30 psi (0.0 - 5.0V) ", 30, ZeroToFive},
    {"1-5V:      0-100 psi (1.0 - 5.0V) ", 100, OneToFive},
    {"     NULL      ", 0, nullptr},
}};

}  // namespace

double AdcVolts(unsigned count) { return count * 0.004887585532746823 + 0.004; }

double DiyWidebandAfr(double v) {
  constexpr double kStoich = 0.06802721088435375;  // 1 / 14.7
  if (v <= 1.0) return 0.0;
  if (v >= 3.0) return 25.5;
  if (v <= 2.5) return 1.0 / ((2.5 - v) * 0.028340964 + kStoich);
  return 1.0 / ((2.5 - v) * 0.049034882 + kStoich);
}

const std::array<WidebandDevice, kWidebandDeviceCount>& WidebandDevices() { return kWideband; }

const std::array<FuelPressureDevice, kFuelPressureDeviceCount>& FuelPressureDevices() {
  return kFuelPressure;
}

double WidebandAfr(int device, unsigned count) {
  if (device < 0 || device >= kWidebandDeviceCount) return 0.0;
  const WidebandDevice& entry = kWideband[device];
  return entry.afrFromVolts ? entry.afrFromVolts(AdcVolts(count)) : 0.0;
}

double FuelPressurePsi(int device, unsigned count) {
  if (device < 0 || device >= kFuelPressureDeviceCount) return 0.0;
  const FuelPressureDevice& entry = kFuelPressure[device];
  return entry.psiFromVolts ? entry.psiFromVolts(AdcVolts(count), entry.fullScale) : 0.0;
}

}  // namespace vantor
