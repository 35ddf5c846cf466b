#include "logs/export_channels.h"

namespace vantor {

ExportChannels::ExportChannels(const Settings& settings)
    : channels_(std::make_unique<AdcChannels>()), live_(std::make_unique<LiveData>()) {
  channels_->BuildActiveChannels(settings);
  for (int c = 0; c < kAdcChannelCount; ++c) {
    const ActiveChannel channel = channels_->Channel(c);
    if (channel.active == 0) continue;
    shown_[activeCount_] = channel;
    activeChannel_[activeCount_++] = c;
  }
}

void ExportChannels::Process(const std::uint8_t* data, bool all) {
  channels_->ProcessAdcChannels(data, all, *live_);
  if (!all) return;
  for (int i = 0; i < activeCount_; ++i) shown_[i] = channels_->Channel(activeChannel_[i]);
}

}  // namespace vantor
