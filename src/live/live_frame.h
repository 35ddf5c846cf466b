#pragma once
// The 273 data bytes of a live frame: offsets of the values the programs use.
// Multi-byte values are big-endian.

#include <cstdint>

namespace vantor::frame {

constexpr int kStatus0 = 0;           // bit 4 drops the running qualifier
constexpr int kStatus1 = 1;           // bit 7 engine running
constexpr int kFlags2 = 2;            // bit 7 Idle, bit 6 BlowOff
constexpr int kFlags3 = 3;            // bit 3 ClsdThrt, bit 2 LeanCr
constexpr int kFlags5 = 5;            // bit 7 TCC, bit 4 Shift, bit 3 A/C Cmd
constexpr int kFlags6 = 6;            // bit 7 clear = FuelCut, bit 3 N2O, bit 2 Launch, bit 0 CCP
constexpr int kFlags8 = 8;            // bit 3 DFCO
constexpr int kSparkAdvance = 10;
constexpr int kFlags11 = 11;          // bit 0 SES
constexpr int kFlags13 = 13;          // bit 7 PE, 6 AE, 5 Async, 4 DE
constexpr int kFlags14 = 14;          // bit 7 ClsdLp, bit 1 BLM Ln
constexpr int kFlags15 = 15;          // bit 4 P/N, bit 3 A/C Rq
constexpr int kPromId = 16;           // 16 bits
constexpr int kMalfGroup1 = 18;       // 3 bytes
constexpr int kMalfGroup2 = 21;       // 3 bytes
constexpr int kRefPeriod = 24;        // 16 bits
constexpr int kRpmCoarse27 = 27;
constexpr int kRpmCoarse28 = 28;      // also the VE learn RPM byte (x 25)
constexpr int kRpmCoarse31 = 31;
constexpr int kCoolantCounts = 37;
constexpr int kLoadMap = 38;          // kPa = code x 0.3125 + 20
constexpr int kBoost = 44;
constexpr int kMap = 45;
constexpr int kVacuum = 49;
constexpr int kMapChange = 50;
constexpr int kIatCounts = 51;
constexpr int kSpeed = 52;
constexpr int kFirmware = 54;         // bits 0-3 minor, bit 4 KDM-9
constexpr int kAky = 55;
constexpr int kO2 = 62;
constexpr int kIgnitionVolts = 69;
constexpr int kPumpVolts = 70;
constexpr int kTpsCounts = 72;
constexpr int kTps = 73;
constexpr int kTpsPrevious = 75;
constexpr int kSensor79 = 79;
constexpr int kOilTemp = 88;
constexpr int kTripValue = 106;       // 106, 107
constexpr int kKnockCount = 115;      // 16 bits
constexpr int kRetard = 119;
constexpr int kIntercoolerTemp = 125;
constexpr int kIat = 126;
constexpr int kVssConstant = 127;     // 16 bits
constexpr int kActualPw = 138;        // 16 bits
constexpr int kFlags140 = 140;        // bit 0 Fan1, bit 1 Fan2
constexpr int kFlags149 = 149;        // bit 5 AIR Cv, bit 4 AIR Pt, bit 0 keep coolant
constexpr int kMapAe = 153;
constexpr int kTpsAe = 154;
constexpr int kLoopState = 162;
constexpr int kBlm = 163;
constexpr int kInt = 164;
constexpr int kCommandedAfr = 165;    // AFR x 10
constexpr int kVssCounter = 166;
constexpr int kBasePw = 167;          // 16 bits
constexpr int kVe = 169;
constexpr int kWasteGate = 178;
constexpr int kFlags180 = 180;        // bit 7 EGR
constexpr int kGear = 187;
constexpr int kEngineConfig = 204;    // bits 0-3 cylinders, 4 per-cyl flow, 7 2-bar, 6 3-bar
constexpr int kCoolantTable = 212;    // bit 0
constexpr int kTransRange = 213;      // bit 7 A/C On, bit 2 OD, bit 1 third
constexpr int kMalfGroup3 = 224;      // 3 bytes
constexpr int kCoolantTemp = 227;
constexpr int kRunTime = 235;         // 16 bits, seconds
constexpr int kAirFlow = 240;
constexpr int kFuelCounter = 241;
constexpr int kRpmStep31 = 243;
constexpr int kInjectorFlow = 244;    // 16 bits
constexpr int kAePw = 250;            // 16 bits
constexpr int kFlags252 = 252;        // bit 7 Valet
constexpr int kIac = 253;
constexpr int kBaro = 254;
constexpr int kBankInfo = 256;        // bit 7 valid, bits 0-2 bank
constexpr int kAdcChannels = 257;     // 8 x 16 bits

inline unsigned Word(const std::uint8_t* data, int offset) {
  return static_cast<unsigned>(data[offset]) << 8 | data[offset + 1];
}

}  // namespace vantor::frame
