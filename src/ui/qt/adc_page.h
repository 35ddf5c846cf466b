#pragma once
// The "ADC Channels" page: per channel the device (from the device list),
// the filter, and the WB and Fuel boxes, each column ticked on one channel at most.

#include <array>

#include "live/adc_catalogue.h"
#include "ui/qt/settings_page.h"

class QCheckBox;
class QComboBox;

namespace vantor::ui {

class DialogUnits;

class AdcPage final : public SettingsPage {
  Q_OBJECT
 public:
  AdcPage(const Settings& settings, const DialogUnits& units, QWidget* parent);
  void ApplyTo(Settings& settings, bool* changed) const override;

  QComboBox* DeviceBox(int channel) const { return devices_[channel]; }
  QComboBox* FilterBox(int channel) const { return filters_[channel]; }
  QCheckBox* WbBox(int channel) const { return wb_[channel]; }
  QCheckBox* FuelBox(int channel) const { return fuel_[channel]; }

 private:
  void BuildRow(const Settings& settings, int channel);
  // A click in a column unticks the box ticked before; the clicked one is remembered if ticked.
  void Exclusive(std::array<QCheckBox*, kAdcChannelCount>& column, int* checked, int channel);

  const DialogUnits& units_;
  DeviceList list_;
  std::array<QComboBox*, kAdcChannelCount> devices_{};
  std::array<QComboBox*, kAdcChannelCount> filters_{};
  std::array<QCheckBox*, kAdcChannelCount> wb_{};
  std::array<QCheckBox*, kAdcChannelCount> fuel_{};
  int checkedWb_ = -1;
  int checkedFuel_ = -1;
  bool edited_ = false;  // any click or selection on this page
};

}  // namespace vantor::ui
