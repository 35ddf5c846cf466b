#pragma once
// The auxiliary A/D channels as an export pass sees them: its own channel
// table built from the settings (so a pass starts with fresh filters and
// never disturbs the live values), processed frame by frame.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "live/adc_channels.h"
#include "live/live_data.h"
#include "settings/settings.h"

namespace vantor {

class ExportChannels {
 public:
  explicit ExportChannels(const Settings& settings);

  // all = false: only the preferred wideband and fuel pressure channels.
  void Process(const std::uint8_t* data, bool all);
  double WidebandAfr() const { return live_->wbAfr.load(std::memory_order_relaxed); }

  // The active channels in channel order, as of the last Process.
  int ActiveCount() const { return activeCount_; }
  std::string_view Label(int active) const { return shown_[active].label; }
  std::string_view Text(int active) const { return shown_[active].text; }
  int ColumnWidth(int active) const { return shown_[active].columnWidth; }
  const ActiveChannel& Shown(int active) const { return shown_[active]; }

 private:
  std::unique_ptr<AdcChannels> channels_;
  std::unique_ptr<LiveData> live_;
  std::array<int, kAdcChannelCount> activeChannel_{};
  std::array<ActiveChannel, kAdcChannelCount> shown_{};
  int activeCount_ = 0;
};

}  // namespace vantor
