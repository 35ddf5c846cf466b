#pragma once
// MainWindow: VantorFlash's fixed 800 x 600 window: the menu, the keys,
// display switching, the playback controls, the displays' control rows,
// the Analysis and Flash displays, the floating windows, the dialogs and
// the exit sequence. The displays draw into its canvas surface; the host
// presents it.

#include <memory>
#include <mutex>
#include <string>

#include "ui/draw/activity_spinner.h"
#include "ui/draw/display_painter.h"
#include "ui/draw/display_switcher.h"
#include "ui/draw/gauge_display.h"
#include "ui/draw/live_data_view.h"
#include "ui/draw/live_displays.h"
#include "ui/draw/status_panel.h"
#include "ui/draw/ve_learn_display.h"
#include "ui/window/alert_sound.h"
#include "ui/window/canvas_surface.h"
#include "ui/window/menu_model.h"
#include "ui/window/port_menu.h"
#include "ui/window/program_parts.h"
#include "ui/window/settings_dialog_host.h"

namespace vantor::ui {

class AnalysisWindow;
class DisplayControls;
class FlashWindow;
class LearnVeFlow;
class PlaybackControls;
class ToolWindows;

class MainWindow final : public WindowEvents, private WindowActions, private ExitActions {
 public:
  static constexpr int kCommPortMenu = 40001;
  static constexpr int kProgress = 103;
  static constexpr int kExportProgress = 106;
  // File > "Export Log for Viewer..." (no command of the original menu uses it).
  static constexpr int kExportForViewer = 32901;

  MainWindow(ProgramParts& parts, Host& host);
  ~MainWindow() override;

  // Start-up: threads, then the gauge display (which opens the port).
  void Start();
  void Command(int id);
  bool MenuItemEnabled(int id) const { return menu_.Enabled(id); }
  const MenuModel& Menu() const { return menu_; }
  DisplayMode Mode() const override;
  WindowHost& Window() { return *window_; }
  CanvasSurface& Surface() { return surface_; }
  AnalysisWindow& Analysis() { return *analysis_; }
  FlashWindow* Flash() { return flash_.get(); }
  ToolWindows& Tools() { return *tools_; }
  LiveDisplays& Displays() { return *displays_; }
  const AlertSound& Alert() const { return alert_; }
  // While a chooser or dialog is up (the floating windows must not take the focus then).
  bool FileDialogOpen() const { return fileDialogOpen_; }

  // WindowEvents
  void OnCommand(int id) override { Command(id); }
  void OnMenuOpening(int menu) override;
  void OnControl(const ControlEvent& event) override;
  bool OnKey(const KeyEvent& key) override;
  void OnMouse(const MouseEvent& mouse) override;
  bool OnCloseRequest() override;

 private:
  // WindowActions
  void EnableDisplayItems() override;
  void GrayItem(int command) override;
  void Suspend() override;
  void Resume() override;
  void SetMode(DisplayMode mode) override;
  void TearDown(Controls controls) override;
  void Create(Controls controls) override;
  void InvalidateAll() override;
  bool BankSelectOpen() const override;
  bool MalfCodesOpen() const override;
  void OpenBankSelect() override;
  void OpenMalfCodes() override;
  void CloseBankSelect() override;
  void CloseMalfCodes() override;
  bool Playing() const override;
  bool PortIsOpen() const override;
  void SelectPort() override;
  void ReleasePort() override;
  void RequestRxReset() override;
  void StopStream() override;
  void StopDataLog() override;
  void StopPlayback() override;
  void StopLearn() override;
  // ExitActions
  bool Minimised() const override;
  void StoreWindowPosition() override;
  void WriteSettings() override;
  void CloseDataLog() override;
  void FinishLearn() override;
  void ClosePort() override;

  std::vector<MenuItem> MenuBar();
  void InstallHooks();
  bool HandleKey(const KeyEvent& key);
  void StartDataLog();
  void StartPlayback();
  void ExportLogForViewer();
  void StopPlaybackCommand();
  void ChoosePort(const std::string& name);
  void ShowMessage(const std::string& text, const std::string& caption);
  void ShowAbout();
  void ShowHelp();
  void CreatePlaybackControls();
  void RemovePlaybackControls();
  void DrawLoggingState();
  ProgramState CurrentState() const;
  void BuildDisplays();
  void RunSuspended(const std::function<void()>& work);
  void ClearVeLearnData();
  void FocusMainWindow();
  void TakeKeyboard();
  void RepaintWithKeyboard();
  void OnUserThread(std::function<void()> work);
  std::string ChooseLog(const std::string& title, const std::string& directory, const std::string& name,
                        const std::string& suffix, bool save);
  void CreateFlashWindow();
  void RemoveFlashWindow();
  void OpenPreferences();
  void OpenUserDevices();
  SettingsDialogHost DialogHost();
  void RebuildChannels(bool dropDeletedDevices);

  ProgramParts& parts_;
  Host& host_;
  CanvasSurface surface_;
  std::unique_ptr<WindowHost> window_;
  MenuModel menu_;
  PortMenu portMenu_;
  LiveDataView liveView_;
  ActivitySpinner spinner_;
  StatusPanel panel_;
  AlertSound alert_;
  std::unique_ptr<GaugeDisplay> gauges_;
  std::unique_ptr<DisplayPainter> painter_;
  std::unique_ptr<PlaybackControls> playbackControls_;
  std::unique_ptr<LiveDisplays> displays_;
  std::unique_ptr<VeLearnDisplay> veDisplay_;
  std::unique_ptr<DisplayControls> displayControls_;
  std::unique_ptr<LearnVeFlow> learnFlow_;
  std::unique_ptr<ToolWindows> tools_;
  std::unique_ptr<FlashWindow> flash_;
  std::unique_ptr<AnalysisWindow> analysis_;
  bool progress_ = false;
  mutable std::mutex namesMutex_;  // the names the status panel shows (display thread reads)
  std::string portName_, logName_, playName_;
  bool exited_ = false;
  bool fileDialogOpen_ = false;
};

}  // namespace vantor::ui
