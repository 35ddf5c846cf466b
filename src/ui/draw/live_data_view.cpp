#include "ui/draw/live_data_view.h"

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

// The bar shows the knock map's total of knocks counted while running, not
// the ECM's free-running counter.
unsigned LiveDataView::KnockCount(const unsigned char*) const { return knockTotal_ ? knockTotal_() : 0; }

}  // namespace vantor::ui
