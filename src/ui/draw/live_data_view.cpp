#include "ui/draw/live_data_view.h"

#include "live/live_frame.h"

namespace vantor::ui {

double LiveDataView::Rpm() const { return live_.rpm.load(std::memory_order_relaxed); }

bool LiveDataView::EngineRunning() const { return live_.engineRunning.load(std::memory_order_relaxed) != 0; }

ChannelReading LiveDataView::Wideband() const {
  ChannelReading reading;
  reading.channel = channels_.PreferredWbChannel();
  reading.configured = reading.channel >= 0;
  if (reading.configured) {
    reading.deviceName = channels_.PreferredWbName();
    reading.value = live_.wbAfr.load(std::memory_order_relaxed);
  }
  return reading;
}

ChannelReading LiveDataView::FuelPressure() const {
  ChannelReading reading;
  reading.channel = channels_.PreferredFpChannel();
  reading.configured = reading.channel >= 0;
  if (reading.configured) {
    reading.deviceName = channels_.PreferredFpName();
    reading.value = live_.fuelPressure.load(std::memory_order_relaxed);
  }
  return reading;
}

// The knock map keeps its own running count once it exists; until then the
// bar shows the ECM's count from the frame.
unsigned LiveDataView::KnockCount(const unsigned char* frame) const { return frame::Word(frame, frame::kKnockCount); }

}  // namespace vantor::ui
