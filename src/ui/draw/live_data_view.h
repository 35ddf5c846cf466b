#pragma once
// LiveView over the frame processing loop's LiveData and the auxiliary
// channels; the program's states come from the owner (window or tool).

#include <functional>

#include "live/adc_channels.h"
#include "live/live_data.h"
#include "ui/draw/live_view.h"

namespace vantor::ui {

class LiveDataView final : public LiveView {
 public:
  LiveDataView(const LiveData& live, const AdcChannels& channels, std::function<ProgramState()> state)
      : live_(live), channels_(channels), state_(std::move(state)) {}

  double Rpm() const override;
  bool EngineRunning() const override;
  ChannelReading Wideband() const override;
  ChannelReading FuelPressure() const override;
  unsigned KnockCount(const unsigned char* frame) const override;
  // The knock map's running total, which the knock bar shows.
  void SetKnockTotal(std::function<unsigned()> total) { knockTotal_ = std::move(total); }
  ProgramState State() const override { return state_ ? state_() : ProgramState{}; }

 private:
  const LiveData& live_;
  const AdcChannels& channels_;
  std::function<ProgramState()> state_;
  std::function<unsigned()> knockTotal_;
};

}  // namespace vantor::ui
