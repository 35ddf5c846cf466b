#pragma once
// MainWindow: the fixed 800 x 600 window with the menu, the keys, the
// 1-second timer, display switching, the playback controls and the exit
// sequence. The displays draw through the window surface of its ClientView.

#include <QMainWindow>

#include <map>
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
#include "ui/qt/program_parts.h"
#include "ui/qt/tool_windows.h"
#include "ui/qt/ve_learn_controls.h"
#include "ui/qt/ve_learn_flow.h"

class QAction;
class QMenu;
class QProgressBar;

namespace vantor::ui {

class AlertSound;
class AnalysisWindow;
class ClientView;
class KnockControls;
class PlaybackControls;
class TripControls;
class FlashWindow;
struct SettingsDialogHost;

class MainWindow final : public QMainWindow, private WindowActions, private ExitActions {
  Q_OBJECT
 public:
  explicit MainWindow(ProgramParts& parts);
  ~MainWindow() override;

  // Start-up: threads, then the gauge display (which opens the port).
  void Start();
  void Command(int id);
  bool MenuItemEnabled(int id) const;
  DisplayMode Mode() const override;
  ClientView& View() { return *view_; }
  // While a file chooser is up (the floating windows must not take the focus then).
  bool FileDialogOpen() const { return fileDialogOpen_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

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
  bool BankSelectOpen() const override { return tools_->BankOpen(); }
  bool MalfCodesOpen() const override { return tools_->MalfOpen(); }
  void OpenBankSelect() override { tools_->OpenBank(); }
  void OpenMalfCodes() override { tools_->OpenMalf(); }
  void CloseBankSelect() override { tools_->CloseBank(); }
  void CloseMalfCodes() override { tools_->CloseMalf(); }
  bool Playing() const override;
  bool PortIsOpen() const override;
  void SelectPort() override;
  void ReleasePort() override;
  void RequestRxReset() override;
  void StopStream() override;
  void StopDataLog() override;
  void StopPlayback() override;
  void StopLearn() override { learnFlow_->Stop(); }
  // ExitActions
  bool Minimised() const override;
  void StoreWindowPosition() override;
  void WriteSettings() override;
  void CloseDataLog() override;
  void FinishLearn() override { learnFlow_->FinishAtExit(); }
  void ClosePort() override;

  void BuildMenus();
  QAction* AddItem(QMenu* menu, int id, const QString& text);
  void BuildPortMenu(QMenu* menu);
  void InstallHooks();
  bool HandleKey(QKeyEvent* event);
  void StartDataLog();
  void StartPlayback();
  void StopPlaybackCommand();
  void ChoosePort(const std::string& name);
  void ShowMessage(const QString& text, const QString& caption);
  void ShowAbout();
  void ShowHelp();
  void CreatePlaybackControls();
  void RemovePlaybackControls();
  void DrawLoggingState();
  ProgramState CurrentState() const;
  // The trip, knock and diagnostics displays with their controls (main_window_displays.cpp).
  void BuildLiveDisplays();
  void CreateDisplayControls(Controls controls);
  void TearDownDisplayControls(Controls controls);
  void RunSuspended(const std::function<void()>& work);
  void BuildVeLearn();
  void ClearVeLearnData();
  void FocusMainWindow();
  void TakeKeyboard();
  void RepaintWithKeyboard();
  // The Flash window and the settings dialogs (main_window_dialogs.cpp).
  void CreateFlashWindow();
  void RemoveFlashWindow();
  void OpenPreferences();
  void OpenUserDevices();
  SettingsDialogHost DialogHost();
  void RebuildChannels(bool dropDeletedDevices);

  ProgramParts& parts_;
  ClientView* view_;
  std::map<int, QAction*> items_;
  LiveDataView liveView_;
  ActivitySpinner spinner_;
  StatusPanel panel_;
  std::unique_ptr<GaugeDisplay> gauges_;
  std::unique_ptr<DisplayPainter> painter_;
  std::unique_ptr<PlaybackControls> playbackControls_;
  std::unique_ptr<LiveDisplays> displays_;
  std::unique_ptr<TripControls> tripControls_;
  std::unique_ptr<KnockControls> knockControls_;
  AlertSound* alertSound_ = nullptr;
  std::unique_ptr<VeLearnDisplay> veDisplay_;
  std::unique_ptr<VeLearnControls> veControls_;
  std::unique_ptr<LearnVeFlow> learnFlow_;
  std::unique_ptr<ToolWindows> tools_;
  std::unique_ptr<FlashWindow> flash_;
  QProgressBar* progress_ = nullptr;
  mutable std::mutex namesMutex_;  // the names the status panel shows (display thread reads)
  std::string portName_, logName_, playName_;
  bool exited_ = false;
  bool fileDialogOpen_ = false;
  std::unique_ptr<AnalysisWindow> analysis_;
};

}  // namespace vantor::ui
