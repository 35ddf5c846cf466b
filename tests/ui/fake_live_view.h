#pragma once
// A LiveView with values set by the test.

#include "live/live_frame.h"
#include "ui/draw/live_view.h"

namespace vantor::ui::testing {

class FakeLiveView final : public LiveView {
 public:
  double rpm = 0;
  bool running = false;
  ChannelReading wideband, fuel;
  ProgramState state;
  double Rpm() const override { return rpm; }
  bool EngineRunning() const override { return running; }
  ChannelReading Wideband() const override { return wideband; }
  ChannelReading FuelPressure() const override { return fuel; }
  unsigned KnockCount(const unsigned char* frame) const override { return frame::Word(frame, frame::kKnockCount); }
  ProgramState State() const override { return state; }
};

}  // namespace vantor::ui::testing
