#pragma once
// The eight auxiliary analogue channels as the displays use them: the working
// table built from the channel assignment and user devices, the per-frame
// conversion, filter and formatting, and the channels preferred for the live
// wideband AFR and fuel pressure.
//
// One object is shared by the user-interface thread (rebuilds) and the
// display thread (per-frame processing); a mutex keeps the two apart.

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

#include "settings/settings.h"

namespace vantor {

struct LiveData;

struct ActiveChannel {
  std::int32_t active = 0;
  std::int32_t type = kChannelNone;
  std::int32_t code = 0;
  std::int32_t index = 0;
  std::int32_t filter = 100;
  std::int32_t wbPreferred = 0;
  std::int32_t fpPreferred = 0;
  char label[12] = {};  // "WB_3", "PSI_3", " PSI_3"
  double value = 0.0;   // filtered reading
  char text[16] = {};   // formatted value
  std::int32_t columnWidth = 0;
};

// A user device's reading in its own unit at the given volts: the line
// through its two calibration points, rising from the smaller unit value,
// limited to the range between them; constant when both voltages are equal.
double UserDeviceReading(const UserDevice& device, double volts);

class AdcChannels {
 public:
  static constexpr int kPreferredNameLength = 12;

  // Rebuilds the working table; filtered values restart from 0.0.
  void BuildActiveChannels(const Settings& settings);
  // After user devices change: channels of deleted devices go back to "None"
  // (and lose any preference); the others take their device's current name.
  void DropDeletedDeviceChannels(Settings& settings);
  // Converts, filters and formats the channels of one frame: every active
  // channel when all is set, else only the preferred ones, which also set
  // live.wbAfr and live.fuelPressure.
  void ProcessAdcChannels(const std::uint8_t* frame, bool all, LiveData& live);

  ActiveChannel Channel(int channel) const;
  int PreferredWbChannel() const;  // -1 = none
  int PreferredFpChannel() const;
  std::string PreferredWbName() const;  // first 12 characters of the channel's name
  std::string PreferredFpName() const;

 private:
  double Reading(const ActiveChannel& channel, unsigned raw) const;
  void Format(ActiveChannel& channel) const;

  mutable std::mutex mutex_;
  std::array<ActiveChannel, kAdcChannelCount> channels_;
  std::array<UserDevice, kUserDeviceCount> devices_;
  int preferredWb_ = -1;
  int preferredFp_ = -1;
  std::string preferredWbName_;
  std::string preferredFpName_;
};

}  // namespace vantor
