#pragma once
// Why VE learn took a frame as a sample or passed it by: one value for each
// gate of the learn rules, in the order they are tried.

#include <cstdint>

namespace vantor {

enum class LearnGate : int {
  Sampled,         // a correction sample was taken
  NoReading,       // WB mode: no commanded AFR or no wideband reading yet
  NotRunning,      // the engine does not count as running
  Coolant,         // coolant outside [LRNLWR]..[LRNUPR] (warm-up)
  Transient,       // acceleration or deceleration enrichment
  HoldOff,         // the frames after a transient
  MapStep,         // MAP moved more than 5 kPa since the last frame
  TpsStep,         // TPS moved more than 5 % since the last frame
  MapBelowTable,   // MAP below 20 kPa
  RpmBelowTable,   // RPM below 400
  Boost,           // a multi-bar sensor reads boost: above the table
  BlmInactive,     // BLM mode: block learn not active
  BlmIntConflict,  // BLM mode: BLM and integrator pull apart
  ClosedLoop,      // WB mode: the ECM trims in closed loop
  BlmNot128,       // WB mode: BLM not at 128
};
constexpr int kLearnGateCount = static_cast<int>(LearnGate::BlmNot128) + 1;

// The report's column name of a gate ("coolant", "hold_off", ...).
const char* LearnGateName(LearnGate gate);

// A frame that passes the learn gates or fails them on their way is
// remembered as the previous one (its MAP and TPS); the others are not.
bool RemembersFrame(LearnGate gate);
// The frame counts as learned for the display (it reached the sample step).
bool ReachedSample(LearnGate gate);

// Told the verdict on every frame while learning, with the frame's learn bins.
class LearnObserver {
 public:
  virtual ~LearnObserver() = default;
  virtual void OnVerdict(LearnGate gate, int rpmBin, int mapBin, std::uint32_t sample) = 0;
};

}  // namespace vantor
