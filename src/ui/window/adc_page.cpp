#include <algorithm>

#include "settings/preference_rules.h"
#include "ui/window/settings_pages.h"
#include "ui/window/window_controls.h"

namespace vantor::ui {
namespace {

constexpr int kRowTop = 18;
constexpr int kRowPitch = 15;
constexpr int kFirstCaption = 1900;

}  // namespace

AdcPage::AdcPage(const Settings& settings) : settings_(settings), list_(BuildDeviceList(settings)) {
  for (int channel = 0; channel < kAdcChannelCount; ++channel) {
    if (settings.adcChannels[channel].wbPreferred == 1) checkedWb_ = channel;
    if (settings.adcChannels[channel].fpPreferred == 1) checkedFuel_ = channel;
  }
}

int AdcPage::DeviceId(int channel) { return channel < 2 ? 1054 + channel : 1011 + (channel - 2); }

std::vector<ControlSpec> AdcPage::Controls() const {
  struct Caption {
    const char* text;
    int x, y;
  };
  constexpr Caption kCaptions[] = {{"Channel:", 6, 0},     {"Device:", 44, 0}, {"Filter:", 232, 0},
                                   {"Preferred:", 300, 0}, {"WB", 300, 8},     {"Fuel", 326, 8}};
  std::vector<ControlSpec> specs;
  int captionId = kFirstCaption;
  for (const Caption& caption : kCaptions)
    specs.push_back(Control(captionId++, ControlKind::StaticText, caption.text, caption.x, caption.y, 40, 9));
  for (int channel = 0; channel < kAdcChannelCount; ++channel) {
    const int y = kRowTop + channel * kRowPitch;
    specs.push_back(Control(captionId++, ControlKind::StaticText, std::to_string(channel), 14, y + 2, 12, 9));
    ControlSpec device = Control(DeviceId(channel), ControlKind::ComboBox, "", 44, y, 180, 12);
    for (int entry = 0; entry < list_.count; ++entry) device.items.push_back(list_.entries[entry].name);
    specs.push_back(std::move(device));
    ControlSpec filter = Control(FilterId(channel), ControlKind::ComboBox, "", 232, y, 62, 12);
    for (int entry = 0; entry < kFilterListEntries; ++entry) filter.items.push_back(FilterListText(entry));
    specs.push_back(std::move(filter));
    specs.push_back(Control(WbId(channel), ControlKind::CheckBox, "", 302, y + 1, 12, 10));
    specs.push_back(Control(FuelId(channel), ControlKind::CheckBox, "", 330, y + 1, 12, 10));
  }
  return specs;
}

void AdcPage::Opened(WindowHost& page) {
  for (int channel = 0; channel < kAdcChannelCount; ++channel) {
    const AdcChannel& stored = settings_.adcChannels[channel];
    page.SetValue(DeviceId(channel), FindDeviceListEntry(list_, stored.type, stored.code, stored.index));
    page.SetValue(FilterId(channel), FilterListEntry(stored.filter));
    page.SetChecked(WbId(channel), stored.wbPreferred == 1);
    page.SetChecked(FuelId(channel), stored.fpPreferred == 1);
  }
  page.Focus(DeviceId(0), false);
}

bool AdcPage::Handle(WindowHost& page, const ControlEvent& event) {
  for (int channel = 0; channel < kAdcChannelCount; ++channel) {
    if (event.action == ControlAction::Changed && (event.id == DeviceId(channel) || event.id == FilterId(channel))) {
      edited_ = true;
      return true;
    }
    if (event.action != ControlAction::Clicked) continue;
    if (event.id == WbId(channel)) {
      Exclusive(page, WbId(0), &checkedWb_, channel);
      return true;
    }
    if (event.id == FuelId(channel)) {
      Exclusive(page, FuelId(0), &checkedFuel_, channel);
      return true;
    }
  }
  return false;
}

void AdcPage::Exclusive(WindowHost& page, int firstId, int* checked, int channel) {
  if (*checked >= 0 && *checked != channel) page.SetChecked(firstId + *checked, false);
  *checked = page.Checked(firstId + channel) ? channel : -1;
  edited_ = true;
}

void AdcPage::ApplyTo(WindowHost& page, Settings& settings, bool* changed) const {
  for (int channel = 0; channel < kAdcChannelCount; ++channel) {
    AdcChannel& stored = settings.adcChannels[channel];
    const int entry = std::clamp(page.Value(DeviceId(channel)), 0, std::max(0, list_.count - 1));
    const DeviceListEntry& device = list_.entries[entry];
    stored.type = device.category;
    stored.index = device.index;
    stored.code = device.code;
    stored.name = device.name;
    stored.filter = FilterFromListText(page.Text(FilterId(channel)));
    stored.wbPreferred = page.Checked(WbId(channel)) ? 1 : 0;
    stored.fpPreferred = page.Checked(FuelId(channel)) ? 1 : 0;
  }
  if (edited_) *changed = true;
}

}  // namespace vantor::ui
