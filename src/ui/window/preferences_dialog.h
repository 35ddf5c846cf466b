#pragma once
// The modal "Preferences" dialog: the "General Setup" and "ADC Channels"
// pages (one exists at a time; leaving a page applies it), with OK, Cancel
// and Apply. OK and Apply write the configuration; closing rebuilds the
// active channels and, when the scales or channels changed, tells the
// Analysis display to rebuild its table.

#include <memory>

#include "settings/settings.h"
#include "ui/window/settings_dialog_host.h"
#include "ui/window/settings_pages.h"

namespace vantor::ui {

class PreferencesDialog final : public WindowEvents {
 public:
  static constexpr int kOk = 1, kCancel = 2, kTabs = 1051, kApply = 1053;

  PreferencesDialog(Settings& settings, SettingsDialogHost links, Host& host);
  // Modal: returns when the dialog has closed.
  void Run(WindowHost* owner);

  void OnControl(const ControlEvent& event) override;
  bool OnCloseRequest() override;

 private:
  void ShowPage(int index);
  void ApplyShownPage();
  void Apply();
  void Finish();

  Settings& settings_;
  SettingsDialogHost links_;
  Host& host_;
  WindowHost* dialog_ = nullptr;
  std::unique_ptr<SettingsPage> page_;
  bool changed_ = false;
};

}  // namespace vantor::ui
