#pragma once
// Raw ECM codes to engineering units: the frame-byte conversions and the
// device conversions of the auxiliary analogue channels.

#include <array>
#include <cstdint>

namespace vantor {

// --- Frame-byte conversions (x is the raw code) ---
double PercentCode(unsigned x);     // TPS, VE%, Aky%, WG%
double O2Millivolts(unsigned x);
double PulsesPerMile(unsigned x);   // 920920 / x; 0 for x = 0
double RpmStep12(unsigned x);
double RpmStep25(unsigned x);
double RpmStep31(unsigned x);
double Speed(unsigned x, int kphOrMph);  // km/h when [KPHORMPH] is 1
double LoadKpa(unsigned x);
double Map1Bar(unsigned x);         // also barometric pressure
double Map2Bar(unsigned x);
double Map3Bar(unsigned x);
double Boost2Bar(unsigned x);
double Boost3Bar(unsigned x);
double Vacuum(unsigned x);
double Tenths(unsigned x);
double SparkDegrees(unsigned x);
double RetardDegrees(unsigned x);
double PulseMs(unsigned x);
double TempCodeC(unsigned x);
double TempCodeF(unsigned x);
double TempCode(unsigned x, int temperScale);  // 0 = F, 1 = C, else 0
double CelsiusToF(double c);
double FahrenheitToC(double f);
// Temperature code of a thermistor table (kCoolantTableHot, kIntakeAirTable,
// kCoolantTableCold of sensor_temp_tables.h) at an A/D count 0..255.
int SensorTemp(unsigned counts, int table);
// The coolant sensor's code: table 0 when frame byte 212 bit 0 is set,
// otherwise table 2 read 10 counts further on.
int CoolantSensorTemp(unsigned counts, unsigned frameByte212);
// Injector duty cycle in percent from the base pulse width and ComputeRpm; at most 255.
double DutyCycle(const std::uint8_t* frame);

// --- Auxiliary channel devices ---
// A 10-bit channel count as volts (5 V over 1023 counts, plus 4 mV).
double AdcVolts(unsigned count);

struct WidebandDevice {
  const char* name;
  double (*afrFromVolts)(double volts);  // nullptr: no conversion
};
constexpr int kWidebandDeviceCount = 16;
const std::array<WidebandDevice, kWidebandDeviceCount>& WidebandDevices();
// AFR of device number device for a channel count; 0.0 without a conversion.
double WidebandAfr(int device, unsigned count);

struct FuelPressureDevice {
  const char* name;
  double fullScale;                                         // psi
  double (*psiFromVolts)(double volts, double fullScale);  // nullptr: no conversion
};
constexpr int kFuelPressureDeviceCount = 8;  // six senders between "No Device" and "NULL"
const std::array<FuelPressureDevice, kFuelPressureDeviceCount>& FuelPressureDevices();
double FuelPressurePsi(int device, unsigned count);

// The DIY controller's two-slope curve.
double DiyWidebandAfr(double volts);

}  // namespace vantor
