#include <algorithm>
#include <charconv>

#include "settings/preference_rules.h"
#include "ui/window/settings_pages.h"
#include "ui/window/window_controls.h"

namespace vantor::ui {
namespace {

using namespace control_style;

constexpr int kCelsius = 1;
constexpr int kFahrenheit = 0;

enum : int {
  kPlaybackRate = 1000, kCelsiusRadio = 1006, kFahrenheitRadio = 1007, kUpdateRate = 1009, kBlm = 1011, kWb = 1012,
  kMinCts = 1013, kMaxCts = 1014, kKnockAlert = 1015, kRedline = 1018, kMaxSpeed = 1019, kMaxTach = 1020,
  kSmoothing = 1021, kAutoInterval = 1023, kAutoUpdate = 1024, kMinUnit = 1025, kMaxUnit = 1026, kAuto1027 = 1027,
  kKph = 1029, kMph = 1030, kStick = 1031, kAuto = 1032, kAuto1033 = 1033, kEnterPause = 1039, kSaveTrip = 1040,
  kFirstCaption = 1900
};

const char* ScaleText(int scale) { return scale == kCelsius ? "°C" : "°F"; }

int Number(const WindowHost& page, int id) {
  const std::string text = page.Text(id);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// Builds the list in the page's order; captions take ids of their own.
class Builder {
 public:
  void Add(ControlSpec spec) { specs.push_back(std::move(spec)); }
  void Caption(const char* text, int x, int y, int width, int id = 0) {
    Add(Control(id ? id : caption_++, ControlKind::StaticText, text, x, y, width, 10));
  }
  void Group(const char* text, int x, int y, int width, int height) {
    Add(Control(caption_++, ControlKind::GroupBox, text, x, y, width, height));
  }
  void NumberEdit(int id, int value, int x, int y, int width, unsigned style = 0) {
    ControlSpec edit = Control(id, ControlKind::Edit, std::to_string(value), x, y, width, 12, kDigitsOnly | style);
    edit.maxLength = 5;
    Add(std::move(edit));
  }
  // Two radio buttons; the first one checked when first is true.
  void RadioPair(int firstId, const char* first, int secondId, const char* second, int x, int y) {
    Add(Control(firstId, ControlKind::RadioButton, first, x, y, 36, 10, kGroupStart));
    Add(Control(secondId, ControlKind::RadioButton, second, x + 40, y, 36, 10));
  }
  void Enable(int id, int x, int y) { Add(Control(id, ControlKind::CheckBox, "Enable", x, y, 50, 10)); }

  std::vector<ControlSpec> specs;

 private:
  int caption_ = kFirstCaption;
};

}  // namespace

std::vector<ControlSpec> GeneralPage::Controls() const {
  const Settings& s = stored_;
  Builder b;
  b.Group("VE Learn", 4, 2, 176, 86);
  b.RadioPair(kBlm, "BLM", kWb, "WB", 12, 14);
  b.Caption("Minimum CTS:", 12, 30, 64);
  b.NumberEdit(kMinCts, s.lrnLwr, 80, 28, 30);
  b.Caption("", 114, 30, 20, kMinUnit);
  b.Caption("Maximum CTS:", 12, 44, 64);
  b.NumberEdit(kMaxCts, s.lrnUpr, 80, 42, 30);
  b.Caption("", 114, 44, 20, kMaxUnit);
  b.Caption("Smoothing Factor:", 12, 58, 64);
  b.NumberEdit(kSmoothing, s.smoothFac, 80, 56, 30);
  // AutoUpdate: kept for a real-time emulation tool, hidden in this program.
  b.Add(Control(kFirstCaption + 99, ControlKind::StaticText, "AutoUpdate:", 12, 72, 44, 10, kHidden));
  b.Add(Control(kAutoUpdate, ControlKind::CheckBox, "", 60, 72, 12, 10, kHidden));
  b.NumberEdit(kAutoInterval, s.autoVTime, 80, 70, 30, kHidden);
  b.NumberEdit(kAuto1027, 0, 114, 70, 20, kHidden);
  b.NumberEdit(kAuto1033, 0, 138, 70, 20, kHidden);

  b.Group("Display Update", 4, 90, 176, 28);
  ControlSpec rate = Control(kUpdateRate, ControlKind::ComboBox, "", 12, 101, 110, 12);
  for (int entry = 0; entry < kUpdateRateEntries; ++entry) rate.items.push_back(UpdateRateText(entry));
  b.Add(std::move(rate));
  b.Group("Playback Rate", 4, 120, 176, 30);
  b.Caption("Slow", 10, 134, 20);
  b.Add(Control(kPlaybackRate, ControlKind::Trackbar, "", 30, 131, 120, 14, kHorizontal | kTicks));
  b.Caption("Fast", 154, 134, 20);

  constexpr int kLeft = 188, kControl = 284;
  b.Caption("Knock Alert Sound:", kLeft, 6, 90);
  b.Enable(kKnockAlert, kControl, 6);
  b.Caption("ENTER to Pause Datalog:", kLeft, 20, 94);
  b.Enable(kEnterPause, kControl, 20);
  b.Caption("Save/Reload Trip Data:", kLeft, 34, 94);
  b.Enable(kSaveTrip, kControl, 34);
  b.Caption("Gear Indicator:", kLeft, 50, 90);
  b.RadioPair(kStick, "Stick", kAuto, "Auto", kControl, 50);
  b.Caption("Temperature Scales:", kLeft, 64, 90);
  b.RadioPair(kCelsiusRadio, ScaleText(kCelsius), kFahrenheitRadio, ScaleText(kFahrenheit), kControl, 64);
  b.Caption("Speedometer Scale:", kLeft, 78, 90);
  b.RadioPair(kKph, "KPH", kMph, "MPH", kControl, 78);
  b.Caption("Max Speedometer:", kLeft, 96, 90);
  b.NumberEdit(kMaxSpeed, s.mphRange, kControl, 94, 36);
  b.Caption("Max Tachometer:", kLeft, 110, 90);
  b.NumberEdit(kMaxTach, s.rpmRange, kControl, 108, 36);
  b.Caption("Tachometer Redline:", kLeft, 124, 90);
  b.NumberEdit(kRedline, s.rdln, kControl, 122, 36);
  return b.specs;
}

void GeneralPage::Opened(WindowHost& page) {
  const Settings& s = stored_;
  page.SetChecked(s.lrnInp == 1 ? kWb : kBlm, s.lrnInp == 0 || s.lrnInp == 1);
  page.SetValue(kUpdateRate, std::clamp(s.updateRate, 0, kUpdateRateEntries - 1));
  page.SetRange(kPlaybackRate, 0, 100, 10);
  page.SetValue(kPlaybackRate, 100 - s.pbSpd);
  page.SetChecked(kKnockAlert, s.knockAlert == 1);
  page.SetChecked(kEnterPause, s.enterPause == 1);
  page.SetChecked(kSaveTrip, s.saveTrip == 1);
  if (s.transType == 0 || s.transType == 1) page.SetChecked(s.transType == 1 ? kAuto : kStick, true);
  if (s.temperScale == 0 || s.temperScale == 1)
    page.SetChecked(s.temperScale == kCelsius ? kCelsiusRadio : kFahrenheitRadio, true);
  if (s.kphOrMph == 0 || s.kphOrMph == 1) page.SetChecked(s.kphOrMph == 1 ? kKph : kMph, true);
  shownScale_ = -1;
  ShowScale(page, s.temperScale == kCelsius ? kCelsius : kFahrenheit);
}

// The CTS limits follow the scale: converted when the other scale is chosen.
bool GeneralPage::ShowScale(WindowHost& page, int scale) {
  bool converted = false;
  if (shownScale_ >= 0 && scale != shownScale_) {
    const auto convert = scale == kCelsius ? CelsiusFromFahrenheit : FahrenheitFromCelsius;
    for (int id : {kMinCts, kMaxCts}) page.SetText(id, std::to_string(convert(Number(page, id))));
    converted = true;
  }
  shownScale_ = scale;
  page.SetText(kMinUnit, ScaleText(scale));
  page.SetText(kMaxUnit, ScaleText(scale));
  return converted;
}

bool GeneralPage::Handle(WindowHost& page, const ControlEvent& event) {
  const Settings& s = stored_;
  switch (event.action) {
    case ControlAction::Edited: return true;
    case ControlAction::Changed: return event.id == kUpdateRate || event.id == kPlaybackRate;
    case ControlAction::Clicked: break;
    default: return false;
  }
  switch (event.id) {
    case kBlm: case kWb: return (event.id == kWb ? 1 : 0) != s.lrnInp;
    case kStick: case kAuto: return (event.id == kAuto ? 1 : 0) != s.transType;
    case kKph: case kMph: return (event.id == kKph ? 1 : 0) != s.kphOrMph;
    case kCelsiusRadio: case kFahrenheitRadio: {
      const bool changedScale = (event.id == kCelsiusRadio ? 1 : 0) != s.temperScale;
      return ShowScale(page, event.id == kCelsiusRadio ? kCelsius : kFahrenheit) || changedScale;
    }
    case kKnockAlert: case kEnterPause: case kSaveTrip: return true;
    case kAutoUpdate:
      if (event.value) AutoUpdateWarning(page);
      return true;
    default: return false;
  }
}

// Dialog 133: "Check box to skip this warning" ticked sets [AUTOVSHOW] 0.
void GeneralPage::AutoUpdateWarning(WindowHost& page) {
  if (stored_.autoVShow != 1) return;
  struct Warning final : WindowEvents {
    WindowHost* host = nullptr;
    bool skip = false;
    void OnControl(const ControlEvent& event) override {
      if (event.id == 1015) skip = event.value != 0;
      if (event.id == 1 && host) host->Close();
    }
  } warning;
  DialogSpec spec{"Warning!", 200, 86, {}};
  spec.controls.push_back(Control(1900, ControlKind::StaticText,
                                  "The AutoUpdate option is ONLY to be used with a real time emulation update utility.  "
                                  "This is a tool such as the EmUtility from TunerPro.",
                                  7, 7, 186, 36, kWordWrap));
  spec.controls.push_back(Control(1015, ControlKind::CheckBox, "Check box to skip this warning", 7, 48, 150, 10));
  spec.controls.push_back(Control(1, ControlKind::Button, "OK", 75, 66, 50, 14, kDefault));
  host_.RunDialog(spec, warning, [&warning](WindowHost& dialog) { warning.host = &dialog; }, &page);
  if (warning.skip) stored_.autoVShow = 0;
}

void GeneralPage::ApplyTo(WindowHost& page, Settings& settings, bool* changed) const {
  const int scale = page.Checked(kCelsiusRadio) ? kCelsius : kFahrenheit;
  const int speedUnit = page.Checked(kKph) ? 1 : 0;
  if (scale != settings.temperScale || speedUnit != settings.kphOrMph) *changed = true;
  settings.lrnInp = page.Checked(kWb) ? 1 : 0;
  settings.lrnLwr = std::clamp(Number(page, kMinCts), 0, kLearnTemperatureMax);
  settings.lrnUpr = std::clamp(Number(page, kMaxCts), 0, kLearnTemperatureMax);
  settings.smoothFac = CorrectSmoothingFactor(Number(page, kSmoothing));
  settings.autoVSave = 0;  // the switch is hidden: it reads as off
  settings.updateRate = page.Value(kUpdateRate);
  settings.updateDivisor = 3 - settings.updateRate;
  settings.pbSpd = 100 - page.Value(kPlaybackRate);
  settings.knockAlert = page.Checked(kKnockAlert) ? 1 : 0;
  settings.enterPause = page.Checked(kEnterPause) ? 1 : 0;
  settings.saveTrip = page.Checked(kSaveTrip) ? 1 : 0;
  settings.transType = page.Checked(kAuto) ? 1 : 0;
  settings.temperScale = scale;
  settings.kphOrMph = speedUnit;
  settings.mphRange = CorrectMaxSpeedometer(Number(page, kMaxSpeed));
  settings.rpmRange = CorrectMaxTachometer(Number(page, kMaxTach));
  settings.rdln = CorrectRedline(Number(page, kRedline));
}

}  // namespace vantor::ui
