#pragma once
// The two pages of the Preferences dialog as control lists in dialog units,
// each with its reactions and the copy back into Settings.

#include <array>
#include <vector>

#include "live/adc_catalogue.h"
#include "settings/settings.h"
#include "ui/window/window_host.h"

namespace vantor::ui {

class SettingsPage {
 public:
  virtual ~SettingsPage() = default;
  virtual std::vector<ControlSpec> Controls() const = 0;
  // After its controls exist: the states that are not in the list.
  virtual void Opened(WindowHost&) {}
  // A notice of one of its controls; true when the user changed something.
  virtual bool Handle(WindowHost& page, const ControlEvent& event) = 0;
  // Copies the page into settings; sets *changed when a change means the
  // Analysis display must rebuild its table.
  virtual void ApplyTo(WindowHost& page, Settings& settings, bool* changed) const = 0;
};

// "General Setup": learn input and CTS limits (shown in the chosen
// temperature scale), smoothing, display update rate, playback rate, the
// alert, pause and trip switches, gear indicator, scales and gauge ranges.
class GeneralPage final : public SettingsPage {
 public:
  GeneralPage(Settings& settings, Host& host) : stored_(settings), host_(host) {}
  std::vector<ControlSpec> Controls() const override;
  void Opened(WindowHost& page) override;
  bool Handle(WindowHost& page, const ControlEvent& event) override;
  void ApplyTo(WindowHost& page, Settings& settings, bool* changed) const override;

 private:
  bool ShowScale(WindowHost& page, int scale);
  void AutoUpdateWarning(WindowHost& page);

  Settings& stored_;  // read, and [AUTOVSHOW] written by the warning
  Host& host_;
  int shownScale_ = -1;  // the scale the CTS edits hold: 1 C, 0 F; -1 none yet
};

// "ADC Channels": per channel the device (from the device list), the
// filter, and the WB and Fuel boxes, each column ticked on one channel at most.
class AdcPage final : public SettingsPage {
 public:
  explicit AdcPage(const Settings& settings);
  std::vector<ControlSpec> Controls() const override;
  void Opened(WindowHost& page) override;
  bool Handle(WindowHost& page, const ControlEvent& event) override;
  void ApplyTo(WindowHost& page, Settings& settings, bool* changed) const override;

  static int DeviceId(int channel);
  static int FilterId(int channel) { return 1056 + channel; }
  static int WbId(int channel) { return 1081 + channel; }
  static int FuelId(int channel) { return 1089 + channel; }

 private:
  // A click in a column unticks the box ticked before; the clicked one is remembered if ticked.
  void Exclusive(WindowHost& page, int firstId, int* checked, int channel);

  const Settings& settings_;
  DeviceList list_;
  int checkedWb_ = -1;
  int checkedFuel_ = -1;
  bool edited_ = false;  // any click or selection on this page
};

}  // namespace vantor::ui
