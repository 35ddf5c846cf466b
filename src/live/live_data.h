#pragma once
// LiveData: the latest derived engine values, written only by the frame
// processing loop (once per good frame) and read by every display. Each field
// is a single-writer word, so a reader on another thread may see two
// consecutive frames' values mixed, but never a torn value.

#include <atomic>
#include <cstdint>

namespace vantor {

struct LiveData {
  std::atomic<std::int32_t> runHours{0};
  std::atomic<std::int32_t> runMinutes{0};
  std::atomic<std::int32_t> runSeconds{0};
  std::atomic<std::int32_t> framesThisSecond{0};
  std::atomic<std::int32_t> promId{0};
  std::atomic<std::int32_t> rpm{0};
  std::atomic<std::int32_t> cylinders{0};
  std::atomic<std::int32_t> perCylinderFlow{0};
  std::atomic<std::int32_t> mapSensorBar{1};
  std::atomic<std::int32_t> firmwareMinor{0};
  std::atomic<std::int32_t> isKdm9{0};
  std::atomic<std::int32_t> bankValid{0};
  std::atomic<std::int32_t> activeBank{0};
  std::atomic<std::int32_t> engineRunning{0};
  std::atomic<std::int32_t> runArmed{0};
  std::atomic<std::int32_t> runCount{0};
  std::atomic<double> wbAfr{0.0};
  std::atomic<double> fuelPressure{0.0};
};

// Engine speed of a frame from the reference period or the coarse speed bytes.
int ComputeRpm(const std::uint8_t* frame);

// Engine run time of a frame (bytes 235-236).
struct RunTime {
  std::int32_t totalSeconds = 0;
  std::int32_t hours = 0;
  std::int32_t minutes = 0;
  std::int32_t seconds = 0;
};
RunTime DecodeRunTime(const std::uint8_t* frame);

struct QualifierResult {
  bool dropped = false;       // the engine stopped counting as running: reset trip sampling
  bool endCatchUp = false;    // not running and the ECM says stopped: end the catch-up hold
};

// The per-frame steps of the frame processing loop, called in this order.
// Running qualifier: the engine counts as running from the 35th frame with
// byte 1 bit 7 set since it was last cleared.
QualifierResult UpdateRunningQualifier(LiveData& live, const std::uint8_t* frame,
                                       const RunTime& runTime);
// framesThisSecond, then the run time and PROM id.
void UpdateRunTime(LiveData& live, const std::uint8_t* frame, const RunTime& runTime);
// Engine configuration, ECM model, active bank, then rpm.
void UpdateConfiguration(LiveData& live, const std::uint8_t* frame);

// All of the above for one frame.
QualifierResult UpdateLiveData(LiveData& live, const std::uint8_t* frame);

}  // namespace vantor
