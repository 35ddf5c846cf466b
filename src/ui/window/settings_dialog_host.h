#pragma once
// What the settings dialogs ask of the program around them.

#include <functional>

namespace vantor::ui {

struct SettingsDialogHost {
  std::function<void()> writeSettings;
  // BuildActiveChannels with the display thread held off; after user device
  // changes, channels of deleted devices are dropped first.
  std::function<void(bool dropDeletedDevices)> rebuildChannels;
  std::function<void()> redraw;            // the main window, completely
  std::function<void()> settingsChanged;   // the Analysis display rebuilds its table
  // What was applied takes effect in the running program (a playback's rate); may be empty.
  std::function<void()> applied;
};

}  // namespace vantor::ui
