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
#include "ui/draw/status_panel.h"
#include "ui/qt/program_parts.h"

class QAction;
class QMenu;
class QProgressBar;

namespace vantor::ui {

class AnalysisWindow;
class ClientView;
class PlaybackControls;

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
  bool BankSelectOpen() const override { return false; }
  bool MalfCodesOpen() const override { return false; }
  void OpenBankSelect() override {}
  void OpenMalfCodes() override {}
  void CloseBankSelect() override {}
  void CloseMalfCodes() override {}
  bool Playing() const override;
  bool PortIsOpen() const override;
  void SelectPort() override;
  void ReleasePort() override;
  void RequestRxReset() override;
  void StopStream() override;
  void StopDataLog() override;
  void StopPlayback() override;
  void StopLearn() override {}
  // ExitActions
  bool Minimised() const override;
  void StoreWindowPosition() override;
  void WriteSettings() override;
  void CloseDataLog() override;
  void FinishLearn() override {}
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

  ProgramParts& parts_;
  ClientView* view_;
  std::map<int, QAction*> items_;
  LiveDataView liveView_;
  ActivitySpinner spinner_;
  StatusPanel panel_;
  std::unique_ptr<GaugeDisplay> gauges_;
  std::unique_ptr<DisplayPainter> painter_;
  std::unique_ptr<PlaybackControls> playbackControls_;
  QProgressBar* progress_ = nullptr;
  mutable std::mutex namesMutex_;  // the names the status panel shows (display thread reads)
  std::string portName_, logName_, playName_;
  bool exited_ = false;
  bool fileDialogOpen_ = false;
  std::unique_ptr<AnalysisWindow> analysis_;
};

}  // namespace vantor::ui
