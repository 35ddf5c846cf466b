#include "live/live_data.h"

#include "live/live_frame.h"

namespace vantor {
namespace {

constexpr int kRunningFrames = 34;  // counted after the arming frame
constexpr int kLongestArmingHours = 16;

int RpmFromPeriod(const std::uint8_t* frame) {
  unsigned period = frame::Word(frame, frame::kRefPeriod);
  if (period == 0) return 0;
  // Numerators are 7864320 / cylinders; results at or below the floor are noise.
  struct Cylinders {
    unsigned numerator;
    int floor;
  };
  static constexpr Cylinders kByCount[] = {
      {1966080, 30}, {1572864, 24}, {1310720, 20}, {1123474, 17}, {983040, 15}};
  int cylinders = frame[frame::kEngineConfig] & 0x0F;
  if (cylinders < 4 || cylinders > 8) return 0;
  const Cylinders& row = kByCount[cylinders - 4];
  int rpm = static_cast<int>(row.numerator / period);
  if (rpm <= row.floor || rpm >= 9999) return 0;
  return rpm;
}

int RpmFromCoarseBytes(const std::uint8_t* frame) {
  unsigned byte27 = frame[frame::kRpmCoarse27];
  unsigned byte28 = frame[frame::kRpmCoarse28];
  if (byte27 == 0) return static_cast<int>(frame[frame::kRpmCoarse31] * 12.5);
  if (byte27 != 255) return static_cast<int>(byte27 * 12.5) + 400;
  if (byte28 != 255) return static_cast<int>(byte28 * 25.0);
  return static_cast<int>(frame[frame::kRpmStep31] * 31.25);
}

}  // namespace

int ComputeRpm(const std::uint8_t* frame) {
  if (frame[frame::kRpmCoarse31] == 0) return RpmFromPeriod(frame);
  return RpmFromCoarseBytes(frame);
}

RunTime DecodeRunTime(const std::uint8_t* frame) {
  RunTime t;
  t.totalSeconds = static_cast<std::int32_t>(frame::Word(frame, frame::kRunTime));
  t.hours = t.totalSeconds / 3600;
  t.minutes = (t.totalSeconds % 3600) / 60;
  t.seconds = t.totalSeconds % 60;
  return t;
}

QualifierResult UpdateRunningQualifier(LiveData& live, const std::uint8_t* frame,
                                       const RunTime& runTime) {
  QualifierResult result;
  bool ecmRunning = (frame[frame::kStatus1] & 0x80) != 0;
  if (live.engineRunning == 0 && ecmRunning) {
    if (live.runArmed == 1) {
      if (++live.runCount >= kRunningFrames) live.engineRunning = 1;
    } else if (runTime.hours < kLongestArmingHours) {
      live.runArmed = 1;
    }
    return result;
  }
  if (live.engineRunning == 1) {
    bool dropped = (frame[frame::kStatus0] & 0x10) != 0;
    if (!ecmRunning || dropped || runTime.totalSeconds == 0) {
      live.runArmed = 0;
      live.runCount = 0;
      live.engineRunning = 0;
      result.dropped = true;
    }
  } else {
    result.endCatchUp = true;
  }
  return result;
}

void UpdateRunTime(LiveData& live, const std::uint8_t* frame, const RunTime& runTime) {
  if (runTime.seconds != live.runSeconds) {
    live.framesThisSecond = 0;
  } else {
    ++live.framesThisSecond;
  }
  live.runHours = runTime.hours;
  live.runMinutes = runTime.minutes;
  live.runSeconds = runTime.seconds;
  live.promId = static_cast<std::int32_t>(frame::Word(frame, frame::kPromId));
}

void UpdateConfiguration(LiveData& live, const std::uint8_t* frame) {
  unsigned config = frame[frame::kEngineConfig];
  live.cylinders = static_cast<std::int32_t>(config & 0x0F);
  live.perCylinderFlow = (config & 0x10) ? 1 : 0;
  live.mapSensorBar = (config & 0x80) ? 2 : (config & 0x40) ? 3 : 1;
  unsigned firmware = frame[frame::kFirmware];
  live.firmwareMinor = static_cast<std::int32_t>(firmware & 0x0F);
  live.isKdm9 = (firmware & 0x10) ? 1 : 0;
  unsigned bank = frame[frame::kBankInfo];
  live.bankValid = (bank & 0x80) ? 1 : 0;
  live.activeBank = static_cast<std::int32_t>(bank & 0x07);
  live.rpm = ComputeRpm(frame);
}

QualifierResult UpdateLiveData(LiveData& live, const std::uint8_t* frame) {
  RunTime runTime = DecodeRunTime(frame);
  QualifierResult result = UpdateRunningQualifier(live, frame, runTime);
  UpdateRunTime(live, frame, runTime);
  UpdateConfiguration(live, frame);
  return result;
}

}  // namespace vantor
