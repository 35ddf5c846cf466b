#include "live/adc_catalogue.h"

namespace vantor {
namespace {

// "DIY-WB Non-Linear" shares code 1 with "TT-1" in files written by earlier
// versions; it keeps that code so those files still read, and the index
// tells the two apart (FindDeviceListEntry).
const std::array<CatalogueEntry, kWidebandCatalogueSize> kWidebandCatalogue = {{
    {0, "No Device", 0},
    {1, "TT-1 WB      (0V=10:1 - 5V=20:1)", 0},
    {1, "DIY-WB Non-Linear", 0},
    {2, "FJO/Holley WB Non-Linear", 0},
    {3, "AEM WB       (0V=10:1 - 5V=20:1)", 0},
    {10, "AFX WB        (0V=9:1 - 5V=16:1)", 0},
    {4, "PLX WB        (0V=10:1 - 5V=20:1)", 0},
    {5, "Innovate WB (0V=7.35 - 5V=22.39)", 0},
    {9, "Innovate WB (0V=10:1 - 5V=20:1)", 0},
    {6, "Zeitronix WB Non-Linear", 0},
    {11, "Zeitronix WB (0V=9.6:1 - 5V=19.6:1)", 0},
    {12, "DynoJet WB  (0V=10:1 - 5V=18:1)", 0},
    {7, "   WB0   ", 0},
    {8, "   WB1   ", 0},
    {13, "   WB0a  ", 0},
    {14, "   WB1a  ", 0},
}};

const std::array<CatalogueEntry, kFuelPressureCatalogueSize> kFuelPressureCatalogue = {{
    {0, "No Device                       ", 0},
    {4, "AutoMeter   15 psi (0.5 - 4.5V) ", 15},
    {1, "AutoMeter   30 psi (0.5 - 4.5V) ", 30},
    {2, "AutoMeter 100 psi (0.5 - 4.5V)  ", 100},
    {5, "BM_fp       100 psi (1.0 - 5.0V)", 100},
    {3, "0-5V:        0-30 psi (0.0 - 5.0V) ", 30},
    {6, "1-5V:      0-100 psi (1.0 - 5.0V) ", 100},
}};

template <std::size_t N>
void AddCatalogue(DeviceList& list, std::int32_t category,
                  const std::array<CatalogueEntry, N>& catalogue) {
  for (std::size_t position = 1; position < N; ++position) {
    DeviceListEntry& entry = list.entries[list.count++];
    entry.category = category;
    entry.index = static_cast<std::int32_t>(position);
    entry.code = catalogue[position].code;
    entry.name = catalogue[position].name;
  }
}

}  // namespace

const std::array<CatalogueEntry, kWidebandCatalogueSize>& WidebandCatalogue() {
  return kWidebandCatalogue;
}

const std::array<CatalogueEntry, kFuelPressureCatalogueSize>& FuelPressureCatalogue() {
  return kFuelPressureCatalogue;
}

DeviceList BuildDeviceList(const Settings& settings) {
  DeviceList list;
  list.entries[0].name = "None";
  list.count = 1;
  AddCatalogue(list, kChannelWideband, kWidebandCatalogue);
  AddCatalogue(list, kChannelFuelPressure, kFuelPressureCatalogue);
  for (const UserDevice& device : settings.userDevices) {
    if (device.active != 1) continue;
    DeviceListEntry& entry = list.entries[list.count++];
    entry.category = kChannelUserDevice;
    entry.index = device.slot;
    entry.code = device.slot;
    entry.name = device.name;
  }
  return list;
}

int FindDeviceListEntry(const DeviceList& list, std::int32_t type, std::int32_t code,
                        std::int32_t index) {
  int found = 0;
  for (int i = 0; i < list.count; ++i) {
    const DeviceListEntry& entry = list.entries[i];
    if (entry.category != type || entry.code != code) continue;
    if (entry.index == index) return i;
    if (found == 0) found = i;
  }
  return found;
}

}  // namespace vantor
