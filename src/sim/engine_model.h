#pragma once
// A small engine model that drives a plausible cycle through the live frame:
// off, cranking, warm-up, idle, cruise in closed loop, a wide-open-throttle
// pull with some knock, deceleration, then idle, cruise ... again.

#include <cstdint>
#include <functional>

#include "sim/frame_source.h"

namespace vantor::sim {

struct EngineState {
  double seconds = 0;      // since the model started
  double runSeconds = 0;   // engine run time
  bool running = false;
  double rpm = 0;
  double mapKpa = 100;
  double tpsPercent = 0;
  double mph = 0;
  int gear = 0;             // 0 standing, 1-4
  double coolantF = 70;
  double airF = 70;
  bool closedLoop = false;
  bool powerEnrich = false;
  bool decelFuelCut = false;
  double sparkDeg = 0;
  double retardDeg = 0;
  double afr = 14.7;        // actual air/fuel ratio (wideband)
  double fuelGph = 0;       // gallons an hour
};

class EngineModel : public FrameSource {
 public:
  static constexpr double kFramesPerSecond = 17.0;
  static constexpr int kPulsesPerMile = 4004;
  static constexpr double kInjectorLbHr = 30.0;

  explicit EngineModel(int cylinders = 8);
  void NextFrame(std::uint8_t* data) override;

  // The VE cell (1/256) the running calibration holds nearest an operating
  // point. The engine needs 17/16 of the default calibration's VE; in closed
  // loop its block learn trims the difference, so a learned calibration
  // brings block learn back towards 128. Without a lookup the default
  // calibration runs.
  using CalibrationVe = std::function<int(double rpm, double mapKpa)>;
  void SetCalibrationVe(CalibrationVe lookup) { calibrationVe_ = std::move(lookup); }
  bool ReportsRunningBank() const override { return true; }

  const EngineState& State() const { return state_; }

 private:
  void Advance(double dt);
  void Encode(std::uint8_t* data) const;
  std::uint8_t BlockLearn(const EngineState& s) const;

  int cylinders_;
  EngineState state_;
  std::uint64_t frames_ = 0;
  double vssPulses_ = 0;
  double fuelCounts_ = 0;
  std::uint16_t knockCount_ = 0;  // the 16-bit counter of the frame, wrapping
  int o2Phase_ = 0;
  double integrator_ = 128;
  std::uint8_t previousTps_ = 0;
  CalibrationVe calibrationVe_;
};

}  // namespace vantor::sim
