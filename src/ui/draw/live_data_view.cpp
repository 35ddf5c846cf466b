#include "ui/draw/live_data_view.h"

#include "live/live_frame.h"

namespace vantor::ui {

double LiveDataView::Rpm() const { return live_.rpm.load(std::memory_order_relaxed); }

bool LiveDataView::EngineRunning() const { return live_.engineRunning.load(std::memory_order_relaxed) != 0; }

namespace {

ChannelReading Preferred(int channel, const std::function<std::string()>& name, const std::atomic<double>& value) {
  ChannelReading reading;
  reading.channel = channel;
  reading.configured = channel >= 0;
  if (reading.configured) {
    reading.deviceName = name();
    reading.value = value.load(std::memory_order_relaxed);
  }
  return reading;
}

}  // namespace

ChannelReading LiveDataView::Wideband() const {
  return Preferred(channels_.PreferredWbChannel(), [this] { return channels_.PreferredWbName(); }, live_.wbAfr);
}

ChannelReading LiveDataView::FuelPressure() const {
  return Preferred(channels_.PreferredFpChannel(), [this] { return channels_.PreferredFpName(); },
                   live_.fuelPressure);
}

// The knock map keeps its own running count once it exists; until then the
// bar shows the ECM's count from the frame.
unsigned LiveDataView::KnockCount(const unsigned char* frame) const { return frame::Word(frame, frame::kKnockCount); }

}  // namespace vantor::ui
