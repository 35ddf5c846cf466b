#pragma once
// The device catalogue of the auxiliary channels as the user picks from it,
// and the DeviceList offered by the Preferences dialog.

#include <array>
#include <cstdint>
#include <string>

#include "settings/settings.h"

namespace vantor {

struct CatalogueEntry {
  std::int32_t code;  // stored as [ADnINSTA]
  const char* name;
  double fullScale;   // psi; senders only
};

constexpr int kWidebandCatalogueSize = 16;     // position 0 is "No Device"
constexpr int kFuelPressureCatalogueSize = 7;  // position 0 is "No Device"
const std::array<CatalogueEntry, kWidebandCatalogueSize>& WidebandCatalogue();
const std::array<CatalogueEntry, kFuelPressureCatalogueSize>& FuelPressureCatalogue();

struct DeviceListEntry {
  std::int32_t category = kChannelNone;  // kChannelWideband, kChannelFuelPressure, kChannelUserDevice
  std::int32_t index = -1;               // catalogue position or user device slot
  std::int32_t code = 0;
  std::string name;
};

constexpr int kDeviceListSize = 64;

struct DeviceList {
  std::array<DeviceListEntry, kDeviceListSize> entries;
  int count = 0;  // filled entries
};

// "None", the 15 controllers, the 6 senders, then every active user device in slot order.
DeviceList BuildDeviceList(const Settings& settings);

// The entry a stored channel (type, code, index) is offered as: the first
// entry of that category and code, or, where several entries share the code,
// the one whose index matches too. 0 ("None") when nothing matches.
int FindDeviceListEntry(const DeviceList& list, std::int32_t type, std::int32_t code,
                        std::int32_t index);

}  // namespace vantor
