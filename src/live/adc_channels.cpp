#include "live/adc_channels.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "live/adc_catalogue.h"
#include "live/conversions.h"
#include "live/live_data.h"
#include "live/live_frame.h"

namespace vantor {
namespace {

// Right-aligned fixed-point text ("%*.*f") that ignores the process locale,
// so exported columns always use a '.'; cut to the buffer when too wide.
template <std::size_t N>
void FormatFixed(char (&out)[N], double value, int width, int precision) {
  char digits[400];
  auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed,
                              precision);
  int length = static_cast<int>(result.ptr - digits);
  int pad = std::max(0, width - length);
  std::snprintf(out, N, "%*s%.*s", pad, "", length, digits);
}

void MakeLabel(ActiveChannel& channel, int number, const UserDevice* device) {
  if (channel.type == kChannelWideband) {
    std::snprintf(channel.label, sizeof channel.label, "WB_%d", number);
  } else if (channel.type == kChannelFuelPressure) {
    std::snprintf(channel.label, sizeof channel.label, "PSI_%d", number);
  } else if (device != nullptr) {
    std::snprintf(channel.label, sizeof channel.label, "%*s_%d", 4, device->unit.c_str(), number);
  } else {
    std::snprintf(channel.label, sizeof channel.label, "%*s_%d", 4, "", number);
  }
}

const UserDevice* DeviceAt(const std::array<UserDevice, kUserDeviceCount>& devices, int slot) {
  if (slot < 0 || slot >= kUserDeviceCount) return nullptr;
  return &devices[slot];
}

// A stored index outside its catalogue (a hand-edited file) would read past
// the conversion tables; such a channel is left inactive.
bool IndexInCatalogue(const AdcChannel& stored) {
  switch (stored.type) {
    case kChannelWideband: return stored.index >= 1 && stored.index < kWidebandCatalogueSize;
    case kChannelFuelPressure: return stored.index >= 1 && stored.index < kFuelPressureCatalogueSize;
    case kChannelUserDevice: return stored.index >= 0 && stored.index < kUserDeviceCount;
    default: return false;
  }
}

std::string FirstCharacters(const std::string& name, std::size_t count) {
  return name.substr(0, std::min(count, name.size()));
}

}  // namespace

double UserDeviceReading(const UserDevice& device, double volts) {
  double lowU = std::min(device.unitJ, device.unitK);
  double highU = std::max(device.unitJ, device.unitK);
  if (device.voltJ == device.voltK) return lowU / 10000.0;
  double lowV = std::min(device.voltJ, device.voltK);
  double slope = std::abs(static_cast<double>(device.unitK) - device.unitJ) /
                 std::abs(static_cast<double>(device.voltK) - device.voltJ);
  double reading = lowU + slope * (volts * 1000.0 - lowV);
  return std::clamp(reading, lowU, highU) / 10000.0;
}

void AdcChannels::BuildActiveChannels(const Settings& settings) {
  std::lock_guard lock(mutex_);
  devices_ = settings.userDevices;
  preferredWb_ = preferredFp_ = -1;
  preferredWbName_.clear();
  preferredFpName_.clear();
  for (int c = 0; c < kAdcChannelCount; ++c) {
    const AdcChannel& stored = settings.adcChannels[c];
    ActiveChannel& channel = channels_[c];
    channel = ActiveChannel{};
    if (!IndexInCatalogue(stored)) continue;
    channel.active = 1;
    channel.type = stored.type;
    channel.code = stored.code;
    channel.index = stored.index;
    channel.filter = stored.filter;
    channel.wbPreferred = stored.wbPreferred;
    channel.fpPreferred = stored.fpPreferred;
    if (stored.wbPreferred) {
      preferredWb_ = c;
      preferredWbName_ = FirstCharacters(stored.name, kPreferredNameLength);
    }
    if (stored.fpPreferred) {
      preferredFp_ = c;
      preferredFpName_ = FirstCharacters(stored.name, kPreferredNameLength);
    }
    MakeLabel(channel, c, DeviceAt(devices_, stored.index));
  }
}

void AdcChannels::DropDeletedDeviceChannels(Settings& settings) {
  std::lock_guard lock(mutex_);
  for (int c = 0; c < kAdcChannelCount; ++c) {
    AdcChannel& stored = settings.adcChannels[c];
    if (stored.type != kChannelUserDevice) continue;
    const UserDevice* device = DeviceAt(settings.userDevices, stored.index);
    if (device != nullptr && device->active == 1) {
      stored.name = device->name;
      continue;
    }
    stored = AdcChannel{};
    if (preferredWb_ == c) {
      preferredWb_ = -1;
      preferredWbName_.clear();
    }
    if (preferredFp_ == c) {
      preferredFp_ = -1;
      preferredFpName_.clear();
    }
  }
}

double AdcChannels::Reading(const ActiveChannel& channel, unsigned raw) const {
  switch (channel.type) {
    case kChannelWideband:
      return std::max(0.0, WidebandAfr(channel.index, raw));
    case kChannelFuelPressure:
      return std::max(0.0, FuelPressurePsi(channel.index, raw));
    case kChannelUserDevice: {
      const UserDevice* device = DeviceAt(devices_, channel.index);
      return device ? UserDeviceReading(*device, AdcVolts(raw)) : 0.0;
    }
    default:
      return 0.0;
  }
}

void AdcChannels::Format(ActiveChannel& channel) const {
  const UserDevice* device = DeviceAt(devices_, channel.index);
  if (channel.type == kChannelUserDevice && device != nullptr) {
    // Bounded to the 15-character text: a reading has at most 5 characters
    // before the point (-999 to 9999), so 9 places always fit whole.
    constexpr int kTextMax = sizeof channel.text - 1;
    const int precision = std::clamp(device->precision, 0, kTextMax - 6);
    const int width = std::min(std::max(0, device->width) + precision + 1, kTextMax);
    FormatFixed(channel.text, channel.value, width, precision);
  } else {
    FormatFixed(channel.text, channel.value, 4, 1);
  }
  channel.columnWidth = static_cast<std::int32_t>(
      std::max(std::strlen(channel.text), std::strlen(channel.label)));
}

void AdcChannels::ProcessAdcChannels(const std::uint8_t* frame, bool all, LiveData& live) {
  std::lock_guard lock(mutex_);
  for (int c = 0; c < kAdcChannelCount; ++c) {
    ActiveChannel& channel = channels_[c];
    if (!channel.active) continue;
    if (!all && !channel.wbPreferred && !channel.fpPreferred) continue;
    unsigned raw = frame::Word(frame, frame::kAdcChannels + 2 * c);
    double reading = Reading(channel, raw);
    int weight = std::max(1, channel.filter);
    if (weight >= 100) {
      channel.value = reading;
    } else {
      channel.value = weight / 100.0 * reading + (100 - weight) / 100.0 * channel.value;
    }
    Format(channel);
    if (channel.wbPreferred) {
      live.wbAfr = channel.value;
    } else if (channel.fpPreferred) {
      live.fuelPressure = channel.value;
    }
  }
}

ActiveChannel AdcChannels::Channel(int channel) const {
  std::lock_guard lock(mutex_);
  if (channel < 0 || channel >= kAdcChannelCount) return {};
  return channels_[channel];
}

int AdcChannels::PreferredWbChannel() const {
  std::lock_guard lock(mutex_);
  return preferredWb_;
}

int AdcChannels::PreferredFpChannel() const {
  std::lock_guard lock(mutex_);
  return preferredFp_;
}

std::string AdcChannels::PreferredWbName() const {
  std::lock_guard lock(mutex_);
  return preferredWbName_;
}

std::string AdcChannels::PreferredFpName() const {
  std::lock_guard lock(mutex_);
  return preferredFpName_;
}

}  // namespace vantor
