#pragma once
// The modal "User Device" dialog: the sixteen user device slots, edited one
// at a time. Number edits drop what they do not take as it is typed (with a
// beep) and are checked when left; Apply and Delete change the slot; leaving
// a slot with unsaved edits asks first. Close rebuilds the device list and
// the channels and writes the configuration.

#include "settings/settings.h"
#include "settings/user_device_rules.h"
#include "ui/window/settings_dialog_host.h"
#include "ui/window/window_host.h"

namespace vantor::ui {

class UserDevicesDialog final : public WindowEvents {
 public:
  enum : int {
    kClose = 2, kSlots = 1009, kReadingJ = 1013, kVoltsK = 1014, kName = 1018, kUnit = 1019, kVoltsJ = 1020,
    kReadingK = 1021, kPlaces = 1023, kApply = 1040, kDelete = 1041, kVoltsForJ = 1049, kVoltsForK = 1050
  };

  UserDevicesDialog(Settings& settings, SettingsDialogHost links, Host& host);
  // Modal: returns when the dialog has closed.
  void Run(WindowHost* owner);

  // The slot shown when the dialog opens again (0 at program start).
  static int& RememberedSlot();

  void OnControl(const ControlEvent& event) override;
  void OnTimer(int id) override;
  bool OnCloseRequest() override;

 private:
  void LoadSlot(int slot);
  UserDeviceTexts Texts() const;
  void ShowUnit(const std::string& unit);
  void Modified();
  void FilterTyped(int id, int cursor);
  void CheckLeft(int id);
  void SaveInto(int slot);
  void AskToSave();
  void ApplySlot();
  void DeleteSlot();
  void SlotChosen(int slot);
  void Close();

  Settings& settings_;
  SettingsDialogHost links_;
  Host& host_;
  WindowHost* dialog_ = nullptr;
  int current_ = 0;
  bool saved_ = true;     // no unsaved edits
  bool applied_ = false;  // something was applied or deleted during this opening
  int refocus_ = 0;       // the edit that gets the focus back after a failed check
};

}  // namespace vantor::ui
