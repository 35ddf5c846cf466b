#include "ui/qt/adc_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include <algorithm>

#include "settings/preference_rules.h"
#include "ui/qt/dialog_units.h"

namespace vantor::ui {
namespace {

constexpr int kRowTop = 18;
constexpr int kRowPitch = 15;

}  // namespace

AdcPage::AdcPage(const Settings& settings, const DialogUnits& units, QWidget* parent)
    : SettingsPage(parent), units_(units), list_(BuildDeviceList(settings)) {
  struct Caption {
    const char* text;
    int x, y;
  };
  const Caption captions[] = {{"Channel:", 6, 0},     {"Device:", 44, 0}, {"Filter:", 232, 0},
                              {"Preferred:", 300, 0}, {"WB", 300, 8},     {"Fuel", 326, 8}};
  for (const Caption& caption : captions) units_.Place(new QLabel(caption.text, this), caption.x, caption.y, 40, 9);
  for (int channel = 0; channel < kAdcChannelCount; ++channel) BuildRow(settings, channel);
  devices_[0]->setFocus();
}

void AdcPage::BuildRow(const Settings& settings, int channel) {
  const AdcChannel& stored = settings.adcChannels[channel];
  const int y = kRowTop + channel * kRowPitch;
  units_.Place(new QLabel(QString::number(channel), this), 14, y + 2, 12, 9);

  QComboBox* device = devices_[channel] = new QComboBox(this);
  for (int entry = 0; entry < list_.count; ++entry)
    device->addItem(QString::fromStdString(list_.entries[entry].name));
  device->setCurrentIndex(FindDeviceListEntry(list_, stored.type, stored.code, stored.index));
  units_.Place(device, 44, y, 180, 12);

  QComboBox* filter = filters_[channel] = new QComboBox(this);
  for (int entry = 0; entry < kFilterListEntries; ++entry)
    filter->addItem(QString::fromStdString(FilterListText(entry)));
  filter->setCurrentIndex(FilterListEntry(stored.filter));
  units_.Place(filter, 232, y, 62, 12);

  wb_[channel] = new QCheckBox(this);
  fuel_[channel] = new QCheckBox(this);
  units_.Place(wb_[channel], 302, y + 1, 12, 10);
  units_.Place(fuel_[channel], 330, y + 1, 12, 10);
  wb_[channel]->setChecked(stored.wbPreferred == 1);
  fuel_[channel]->setChecked(stored.fpPreferred == 1);
  if (stored.wbPreferred == 1) checkedWb_ = channel;
  if (stored.fpPreferred == 1) checkedFuel_ = channel;

  for (QComboBox* box : {device, filter}) connect(box, &QComboBox::activated, this, [this](int) {
      edited_ = true;
      emit Edited();
    });
  connect(wb_[channel], &QCheckBox::clicked, this, [this, channel] { Exclusive(wb_, &checkedWb_, channel); });
  connect(fuel_[channel], &QCheckBox::clicked, this, [this, channel] { Exclusive(fuel_, &checkedFuel_, channel); });
}

void AdcPage::Exclusive(std::array<QCheckBox*, kAdcChannelCount>& column, int* checked, int channel) {
  if (*checked >= 0 && *checked != channel) column[*checked]->setChecked(false);
  *checked = column[channel]->isChecked() ? channel : -1;
  edited_ = true;
  emit Edited();
}

void AdcPage::ApplyTo(Settings& settings, bool* changed) const {
  for (int channel = 0; channel < kAdcChannelCount; ++channel) {
    AdcChannel& stored = settings.adcChannels[channel];
    const int entry = std::max(0, devices_[channel]->currentIndex());
    const DeviceListEntry& device = list_.entries[entry];
    stored.type = device.category;
    stored.index = device.index;
    stored.code = device.code;
    stored.name = device.name;
    stored.filter = FilterFromListText(filters_[channel]->currentText().toStdString());
    stored.wbPreferred = wb_[channel]->isChecked() ? 1 : 0;
    stored.fpPreferred = fuel_[channel]->isChecked() ? 1 : 0;
  }
  if (edited_) *changed = true;
}

}  // namespace vantor::ui
