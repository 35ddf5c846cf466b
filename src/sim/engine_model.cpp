#include "sim/engine_model.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "live/live_frame.h"
#include "sim/default_calibration.h"

namespace vantor::sim {
namespace {

using namespace vantor::frame;

constexpr double kOffUntil = 1.5;
constexpr double kCrankUntil = 3.0;
constexpr double kWarmUpUntil = 25.0;
constexpr double kClosedLoopAfter = 15.0;
constexpr double kCyclePeriod = 70.0;
constexpr double kVssConstantValue = 230;  // 920920 / 230 + 0.5 -> 4004 pulses a mile
constexpr double kGallonsPerFuelCount = 0.00390630961 * EngineModel::kInjectorLbHr / 14400.0;
// The module's knock counter rises by 63 for every knock it counts.
constexpr std::uint16_t kKnockCounterPerKnock = 63;

double Lerp(double from, double to, double t) { return from + (to - from) * std::clamp(t, 0.0, 1.0); }

std::uint8_t Code(double value) { return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

void PutWord(std::uint8_t* data, int offset, double value) {
  const auto word = static_cast<std::uint16_t>(std::clamp(std::lround(value), 0L, 65535L));
  data[offset] = static_cast<std::uint8_t>(word >> 8);
  data[offset + 1] = static_cast<std::uint8_t>(word);
}

double TempCode(double fahrenheit) { return (fahrenheit + 40.0) / 1.35; }

// One phase of the repeating drive cycle (seconds into the cycle).
struct Phase {
  double rpm, mapKpa, tps, mph;
  bool powerEnrich, decelFuelCut;
  double gph;
  int gear;  // 0 when standing
};

// A four-speed automatic on a 3.73 axle and 26-inch tyres: engine rpm per
// mph in each gear; the converter holds the engine near its stall speed
// until the car catches up.
constexpr double kRpmPerMph[] = {147.5, 78.6, 48.2, 33.7};
constexpr double kStallRpm = 3200;
constexpr double kUpshiftMph[] = {40, 76};  // at full throttle, near 6,000 rpm

int FullThrottleGear(double mph) { return mph < kUpshiftMph[0] ? 1 : mph < kUpshiftMph[1] ? 2 : 3; }

double EngineRpm(int gear, double mph, double floorRpm) {
  return std::max(floorRpm, kRpmPerMph[gear - 1] * mph);
}

// A standing start at full throttle: speed approaches 112 mph with a 5.2 s
// time constant, which runs the quarter mile in about 12.8 s at 103 mph.
double LaunchMph(double seconds) { return 112.0 * (1.0 - std::exp(-seconds / 5.2)); }

Phase DriveCycle(double t) {
  if (t < 8) return {750, 35, 0, 0, false, false, 0.8, 0};
  if (t < 22) {
    const double mph = LaunchMph(t - 8);
    const int gear = FullThrottleGear(mph);
    return {std::min(6200.0, EngineRpm(gear, mph, kStallRpm)), 98, 100, mph, true, false, 30.0, gear};
  }
  if (t < 26) {  // off the throttle, coasting down to cruising speed in top gear
    const double mph = Lerp(LaunchMph(14), 60, (t - 22) / 4);
    return {EngineRpm(4, mph, 900), 22, 0, mph, false, true, 0.0, 4};
  }
  if (t < 44) return {2020 + 40 * std::sin(t), 48, 14, 60, false, false, 3.0, 4};
  if (t < 50) {  // a kick-down pull from 60 to 100 mph
    const double mph = Lerp(60, 100, (t - 44) / 6);
    const int gear = mph < kUpshiftMph[1] ? 2 : 3;
    return {EngineRpm(gear, mph, 0), 98, 100, mph, true, false, 30.0, gear};
  }
  if (t < 60) {
    const double mph = Lerp(100, 20, (t - 50) / 10);
    return {EngineRpm(4, mph, 900), 22, 0, mph, false, true, 0.0, 4};
  }
  const double u = (t - 60) / 10;
  return {Lerp(900, 750, u), 35, 0, Lerp(20, 0, u), false, false, 0.8, u < 0.8 ? 2 : 0};
}

}  // namespace

EngineModel::EngineModel(int cylinders) : cylinders_(std::clamp(cylinders, 4, 8)) {}

void EngineModel::NextFrame(std::uint8_t* data) {
  Advance(1.0 / kFramesPerSecond);
  Encode(data);
  previousTps_ = data[frame::kTps];
  ++frames_;
}

void EngineModel::Advance(double dt) {
  EngineState& s = state_;
  s.seconds += dt;
  const double t = s.seconds;
  s.running = t >= kCrankUntil;
  if (s.running) s.runSeconds += dt;
  s.airF = 85;
  s.coolantF = s.running ? 190 - 120 * std::exp(-s.runSeconds / 40) : 70;
  s.powerEnrich = s.decelFuelCut = false;
  s.retardDeg = 0;
  s.gear = 0;

  if (t < kOffUntil) {
    s.rpm = 0, s.mapKpa = 100, s.tpsPercent = 0, s.mph = 0, s.fuelGph = 0, s.afr = 14.7;
  } else if (t < kCrankUntil) {
    s.rpm = 200 + 30 * std::sin(t * 20), s.mapKpa = 90, s.tpsPercent = 0, s.mph = 0, s.fuelGph = 1.5, s.afr = 12.0;
  } else if (t < kWarmUpUntil) {
    s.rpm = Lerp(1250, 850, (t - kCrankUntil) / 15), s.mapKpa = 38, s.tpsPercent = 0, s.mph = 0, s.fuelGph = 1.0;
  } else {
    const double cycleTime = std::fmod(t - kWarmUpUntil, kCyclePeriod);
    const Phase p = DriveCycle(cycleTime);
    s.rpm = p.rpm, s.mapKpa = p.mapKpa, s.tpsPercent = p.tps, s.mph = p.mph, s.fuelGph = p.gph, s.gear = p.gear;
    s.powerEnrich = p.powerEnrich, s.decelFuelCut = p.decelFuelCut;
    // Some knock in the middle of the pull.
    if (p.powerEnrich && cycleTime > 46 && cycleTime < 49) {
      s.retardDeg = 4 + 3 * std::sin(cycleTime * 5);
      if (frames_ % 5 == 0) knockCount_ = static_cast<std::uint16_t>(knockCount_ + kKnockCounterPerKnock);
    }
  }
  s.closedLoop = s.running && t > kClosedLoopAfter && !s.powerEnrich && !s.decelFuelCut;
  s.sparkDeg = s.running ? std::clamp(12 + s.rpm / 150 - (s.mapKpa - 30) / 6, 5.0, 38.0) - s.retardDeg : 8;

  ++o2Phase_;
  const bool rich = (o2Phase_ / 4) % 2 == 0;
  if (s.closedLoop) {
    integrator_ += rich ? -1.0 : 1.0;
    s.afr = rich ? 14.5 : 14.9;
  } else {
    integrator_ = 128;
    s.afr = s.powerEnrich ? 12.6 : s.decelFuelCut ? 19.8 : s.running ? 13.8 : 14.7;
  }

  vssPulses_ += s.mph * kPulsesPerMile / 3600.0 * dt;
  fuelCounts_ += s.fuelGph / 3600.0 / kGallonsPerFuelCount * dt;
}

std::uint8_t EngineModel::BlockLearn(const EngineState& s) const {
  const double needed = DefaultVeCell(static_cast<int>(s.rpm), static_cast<int>(s.mapKpa), 0) * 17.0 / 16.0;
  const double held = calibrationVe_ ? calibrationVe_(s.rpm, s.mapKpa)
                                     : DefaultVeCell(static_cast<int>(s.rpm), static_cast<int>(s.mapKpa), 0);
  if (held <= 0) return 156;
  return static_cast<std::uint8_t>(std::clamp(std::lround(128.0 * needed / held), 100L, 156L));
}

void EngineModel::Encode(std::uint8_t* data) const {
  const EngineState& s = state_;
  std::memset(data, 0, kFrameDataSize);
  const bool cruising = s.closedLoop && s.mph > 50;
  const bool idling = s.running && s.tpsPercent < 1 && s.mph < 3;

  data[kStatus1] = s.running ? 0x80 : 0x00;
  data[kFlags2] = idling ? 0x80 : 0x00;
  data[kFlags3] = s.tpsPercent < 1 ? 0x08 : 0x00;
  data[kFlags5] = cruising ? 0x80 : 0x00;
  data[kFlags6] = s.decelFuelCut ? 0x00 : 0x80;
  data[kFlags8] = s.decelFuelCut ? 0x08 : 0x00;
  data[kSparkAdvance] = Code(s.sparkDeg / 0.3515625);
  data[kFlags13] = s.powerEnrich ? 0x80 : 0x00;
  data[kFlags14] = s.closedLoop ? 0x82 : 0x00;  // closed loop with block learn on
  data[kFlags15] = s.mph < 1 ? 0x10 : 0x00;
  PutWord(data, kPromId, 9001);

  static constexpr double kPeriodNumerator[] = {1966080, 1572864, 1310720, 1123474, 983040};
  PutWord(data, kRefPeriod, s.rpm > 0 ? kPeriodNumerator[cylinders_ - 4] / s.rpm : 0);
  data[kRpmCoarse27] = s.rpm < 400 ? 0 : s.rpm >= 3587.5 ? 255 : Code((s.rpm - 400) / 12.5);
  data[kRpmCoarse28] = s.rpm >= 6375 ? 255 : Code(s.rpm / 25);
  data[kRpmCoarse31] = 0;  // the reference period is valid
  data[kRpmStep31] = Code(s.rpm / 31.25);

  data[kCoolantCounts] = Code(230 - s.coolantF / 1.2);
  data[kLoadMap] = Code((s.mapKpa - 20) / 0.3125);
  data[kMap] = Code((s.mapKpa - 10.415) / 0.369);
  data[kVacuum] = Code((80 - (101.3 - s.mapKpa) * 0.2953) / 0.3125);
  data[kIatCounts] = Code(200 - s.airF / 1.2);
  data[kSpeed] = Code(s.mph);
  data[kFirmware] = 0x10;  // KDM-9, firmware 1.0
  data[kO2] = Code((s.closedLoop ? (s.afr < 14.7 ? 780 : 150) : s.afr < 14.7 ? 860 : 80) / 4.42);
  data[kIgnitionVolts] = s.running ? 139 : 124;
  data[kPumpVolts] = s.running ? 136 : 0;
  data[kTpsCounts] = Code(18 + s.tpsPercent * 2.1);
  data[kTps] = Code(s.tpsPercent / 0.390625);
  data[kTpsPrevious] = previousTps_;
  data[kOilTemp] = Code(TempCode(s.coolantF - 5));
  PutWord(data, kKnockCount, knockCount_);
  data[kRetard] = Code(s.retardDeg / 0.17578125);
  data[kIntercoolerTemp] = Code(TempCode(s.airF + 5));
  data[kIat] = Code(TempCode(s.airF));
  PutWord(data, kVssConstant, kVssConstantValue);

  const double pulseMs = s.rpm > 0 && s.fuelGph > 0 ? 1.2 + s.mapKpa / 25 + (s.powerEnrich ? 3 : 0) : 0;
  PutWord(data, kActualPw, pulseMs / 0.0152587890625);
  PutWord(data, kBasePw, pulseMs * 0.95 / 0.0152587890625);
  data[kFlags140] = s.coolantF > 200 ? 0x01 : 0x00;
  data[kLoopState] = s.closedLoop ? 2 : s.running ? 1 : 0;
  data[kBlm] = s.closedLoop ? BlockLearn(s) : 128;
  data[kInt] = Code(integrator_);
  data[kCommandedAfr] = s.powerEnrich ? 125 : 147;
  data[kVssCounter] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(vssPulses_) & 0xFF);
  data[kVe] = Code((30 + s.mapKpa / 2) / 0.390625);
  data[kGear] = static_cast<std::uint8_t>(s.gear);
  data[kEngineConfig] = static_cast<std::uint8_t>(cylinders_);  // 1-bar MAP sensor
  data[kTransRange] = s.mph > 45 ? 0x04 : 0x00;
  data[kCoolantTemp] = Code(TempCode(s.coolantF));
  PutWord(data, kRunTime, std::floor(s.runSeconds));
  data[kAirFlow] = Code(s.rpm * s.mapKpa / 3000);
  data[kFuelCounter] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(fuelCounts_) & 0xFF);
  PutWord(data, kInjectorFlow, kInjectorLbHr * 188.798976 / 2);
  data[kIac] = idling ? 32 : 10;
  data[kBaro] = Code((100.5 - 10.415) / 0.369);
  // Auxiliary channel 0: a wideband controller, 0-5 V for 10-20 AFR.
  const double wbVolts = std::clamp((s.afr - 10.0) / 2.0, 0.0, 5.0);
  PutWord(data, kAdcChannels, std::clamp((wbVolts - 0.004) * 1023 / 5, 0.0, 1023.0));
  // Channel 1: a fuel pressure sender at about half scale.
  PutWord(data, kAdcChannels + 2, s.running ? 512 : 102);
}

}  // namespace vantor::sim
