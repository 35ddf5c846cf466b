// The main window's Flash display form and its two settings dialogs.

#include <QApplication>

#include "ui/draw/menu_commands.h"
#include "ui/qt/analysis_window.h"
#include "ui/qt/client_view.h"
#include "ui/qt/flash_window.h"
#include "ui/qt/main_window.h"
#include "ui/qt/playback_controls.h"
#include "ui/qt/preferences_dialog.h"
#include "ui/qt/user_devices_dialog.h"

namespace vantor::ui {

void MainWindow::CreateFlashWindow() {
  flash_ = std::make_unique<FlashWindow>(parts_, *view_, [this] { Command(cmd::kVantor); });
  painter_->SetBody(DisplayMode::Flash, &flash_->Body());
}

void MainWindow::RemoveFlashWindow() {
  painter_->SetBody(DisplayMode::Flash, nullptr);
  flash_.reset();
  view_->setFocus();
}

// The channel table is rebuilt with the display thread held off (it may be
// converting a frame with it); a display that keeps it held stays held.
void MainWindow::RebuildChannels(bool dropDeletedDevices) {
  const bool held = parts_.state.displaySuspended.load() != 0;
  if (!held) Suspend();
  if (dropDeletedDevices) parts_.session.Adc().DropDeletedDeviceChannels(parts_.settings);
  parts_.session.Reconfigure(parts_.settings);
  if (!held) Resume();
}

SettingsDialogHost MainWindow::DialogHost() {
  SettingsDialogHost host;
  host.writeSettings = [this] { parts_.WriteSettings(); };
  host.rebuildChannels = [this](bool drop) { RebuildChannels(drop); };
  host.redraw = [this] { InvalidateAll(); };
  host.settingsChanged = [this] { analysis_->SettingsChanged(); };
  // A running playback takes its delay per frame from [PBSPD] as written now.
  host.applied = [this] {
    parts_.playback.SetRate(parts_.settings.pbSpd);
    playbackControls_->ShowRate();
  };
  host.beep = [] { QApplication::beep(); };
  return host;
}

void MainWindow::OpenPreferences() {
  fileDialogOpen_ = true;
  PreferencesDialog dialog(parts_.settings, DialogHost(), this);
  dialog.exec();
  fileDialogOpen_ = false;
}

void MainWindow::OpenUserDevices() {
  fileDialogOpen_ = true;
  UserDevicesDialog dialog(parts_.settings, DialogHost(), this);
  dialog.exec();
  fileDialogOpen_ = false;
}

}  // namespace vantor::ui
