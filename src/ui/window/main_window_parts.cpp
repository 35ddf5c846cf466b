// The main window's menu bar, its displays with their control rows and the
// floating windows, the Flash display's form and the two settings dialogs.

#include <chrono>

#include "ui/draw/menu_commands.h"
#include "ui/window/analysis_window.h"
#include "ui/window/display_controls.h"
#include "ui/window/flash_window.h"
#include "ui/window/learn_ve_flow.h"
#include "ui/window/main_window.h"
#include "ui/window/playback_controls.h"
#include "ui/window/preferences_dialog.h"
#include "ui/window/tool_windows.h"
#include "ui/window/user_devices_dialog.h"

namespace vantor::ui {
namespace {

constexpr auto kClearSuspendBound = std::chrono::milliseconds(500);
constexpr int kFileMenu = 40010, kDisplayMenu = 40011, kHelpMenu = 40012, kQuickCaption = 40013;

}  // namespace

std::vector<MenuItem> MainWindow::MenuBar() {
  std::vector<MenuItem> file{Item(cmd::kDataLog, "&DataLog..."),
                             Item(cmd::kCloseDataLog, "Close DataLo&g", false),
                             Separator(),
                             Item(cmd::kPlayback, "&Playback..."),
                             Item(cmd::kStopPlayback, "&Stop Playback", false),
                             Item(MainWindow::kExportForViewer, "&Export Log for Viewer..."),
                             Separator(),
                             Item(cmd::kLearnVe, "&Learn VE..."),
                             Item(cmd::kStopLearnVe, "St&op Learn VE", false),
                             Separator(),
                             Item(cmd::kPreferences, "Pre&ferences..."),
                             Item(cmd::kUserDevices, "&User Devices..."),
                             portMenu_.Menu(parts_.settings.port),
                             Separator(),
                             Item(cmd::kExit, "E&xit")};
  std::vector<MenuItem> display;
  for (const MenuItemText& item : DisplayMenuItems()) display.push_back(Item(item.id, item.text, item.id != cmd::kVantor));
  std::vector<MenuItem> bar{Submenu(kFileMenu, "&File", std::move(file)), Submenu(kDisplayMenu, "&Display", std::move(display)),
                            Submenu(kHelpMenu, "&Help", {Item(cmd::kHelp, "&Help"), Item(cmd::kAbout, "&About")}),
                            Item(kQuickCaption, "         Quick Display Selections ->", false)};
  for (auto [id, text] : {std::pair{cmd::kVtd, "&VTD"}, std::pair{cmd::kTripQuick, "&TRIP"}, std::pair{cmd::kVeQuick, "&VE"},
                          std::pair{cmd::kSpkQuick, "&SPK"}, std::pair{cmd::kDiagQuick, "DIA&G"}})
    bar.push_back(Item(id, text));
  return bar;
}

void MainWindow::BuildDisplays() {
  displays_ = std::make_unique<LiveDisplays>(parts_.settings, liveView_, panel_, surface_, *painter_,
                                             parts_.session.Loop());
  liveView_.SetKnockTotal([this] { return displays_->Knock().KnockTotal(); });
  parts_.hooks.knockSound = [this] { alert_.Play(); };
  parts_.hooks.tripResetSampling = [this] { displays_->Trip().ResetSampling(); };
  parts_.hooks.storeTripTotals = [this] { displays_->Trip().StoreTotals(parts_.settings); };

  veDisplay_ = std::make_unique<VeLearnDisplay>(parts_.veLearn, liveView_, panel_, surface_);
  painter_->SetBody(DisplayMode::VeLearn, veDisplay_.get());
  parts_.session.Loop().SetConsumer(ConsumerSlot::VeLearn, veDisplay_.get());
  parts_.hooks.veRedraw = [this] { veDisplay_->Redraw(); };

  DisplayControlLinks links;
  links.whileSuspended = [this](const std::function<void()>& work) { RunSuspended(work); };
  links.repaint = [this] { RepaintWithKeyboard(); };
  links.resetVeLearn = [this] { parts_.veLearn.Reset(); };
  displayControls_ = std::make_unique<DisplayControls>(*window_, displays_->Trip(), displays_->Knock(), *veDisplay_,
                                                       std::move(links));

  LearnVeLinks learn;
  learn.host = &host_;
  learn.owner = window_.get();
  learn.menu = &menu_;
  learn.secondsTick = [this] { return parts_.state.Tick(); };
  learn.dialogOpen = [this](bool open) { fileDialogOpen_ = open; };
  learn.message = [this](const std::string& text, const std::string& caption) { ShowMessage(text, caption); };
  learnFlow_ = std::make_unique<LearnVeFlow>(parts_.settings, parts_.veLearn, std::move(learn));
  parts_.hooks.learnChanged = [this] {
    learnFlow_->ShowState();
    InvalidateAll();
  };

  ToolWindowLinks tools;
  tools.host = &host_;
  tools.mainWindow = window_.get();
  tools.modalOpen = [this] { return fileDialogOpen_ || host_.ModalOpen(); };
  tools.passKey = [this](const KeyEvent& key) { return key.press && HandleKey(key); };
  tools.focusMainWindow = [this] { FocusMainWindow(); };
  tools_ = std::make_unique<ToolWindows>(parts_.settings, parts_.session.Loop(), parts_.link, parts_.session.Live(),
                                         std::move(tools));
}

// "Clear Data" holds the display thread between frames while it clears.
void MainWindow::RunSuspended(const std::function<void()>& work) {
  parts_.session.Display().Suspend(kClearSuspendBound);
  work();
  parts_.session.Display().Resume();
}

void MainWindow::FocusMainWindow() {
  window_->Activate();
  window_->Focus(0, false);
}

// ---- the Flash display ----

void MainWindow::CreateFlashWindow() {
  flash_ = std::make_unique<FlashWindow>(parts_, host_, *window_, surface_, [this] { Command(cmd::kVantor); });
  painter_->SetBody(DisplayMode::Flash, &flash_->Body());
}

void MainWindow::RemoveFlashWindow() {
  painter_->SetBody(DisplayMode::Flash, nullptr);
  flash_.reset();
  window_->Focus(0, false);
}

// ---- the settings dialogs ----

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
  SettingsDialogHost links;
  links.writeSettings = [this] { parts_.WriteSettings(); };
  links.rebuildChannels = [this](bool drop) { RebuildChannels(drop); };
  links.redraw = [this] { InvalidateAll(); };
  links.settingsChanged = [this] { analysis_->SettingsChanged(); };
  // A running playback takes its delay per frame from [PBSPD] as written now.
  links.applied = [this] {
    parts_.playback.SetRate(parts_.settings.pbSpd);
    playbackControls_->ShowRate();
  };
  return links;
}

void MainWindow::OpenPreferences() {
  fileDialogOpen_ = true;
  PreferencesDialog(parts_.settings, DialogHost(), host_).Run(window_.get());
  fileDialogOpen_ = false;
}

void MainWindow::OpenUserDevices() {
  fileDialogOpen_ = true;
  UserDevicesDialog(parts_.settings, DialogHost(), host_).Run(window_.get());
  fileDialogOpen_ = false;
}

}  // namespace vantor::ui
