#include "velearn/learn_gate.h"

namespace vantor {

const char* LearnGateName(LearnGate gate) {
  static constexpr const char* kNames[kLearnGateCount] = {
      "sampled",  "no_reading", "not_running",  "coolant",       "transient",    "hold_off",    "map_step", "tps_step",
      "map_below_20", "rpm_below_400", "boost", "blm_inactive", "blm_int_conflict", "closed_loop", "blm_not_128"};
  return kNames[static_cast<int>(gate)];
}

bool RemembersFrame(LearnGate gate) {
  return gate != LearnGate::NotRunning && gate != LearnGate::Boost && gate != LearnGate::BlmIntConflict;
}

bool ReachedSample(LearnGate gate) { return gate == LearnGate::Sampled || gate == LearnGate::NoReading; }

}  // namespace vantor
