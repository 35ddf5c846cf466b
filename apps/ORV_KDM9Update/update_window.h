#pragma once
// UpdateWindow: ORV_KDM9Update's fixed 800 x 600 window. The face (title,
// introduction or message pane, port status) is drawn through the canvas
// into the client view's surface; the "Proceed With Update" button and the
// "Messages" group box are widgets on top. While an update runs, nothing
// that could change the port or end the program is available.

#include <QMainWindow>

#include <atomic>
#include <mutex>
#include <string>

#include "update_dialogs.h"
#include "update_program.h"

class QAction;
class QGroupBox;
class QMenu;
class QPushButton;

namespace vantor::ui {
class ClientView;
}

namespace vantor::update_app {

class UpdateWindow final : public QMainWindow {
  Q_OBJECT
 public:
  explicit UpdateWindow(UpdateProgram& program);
  // Stops the program's threads first: they draw into this window.
  ~UpdateWindow() override;

  // Start-up after show(): opens the port, writes the configuration and
  // starts LinkTick and the communication thread. False when a thread
  // cannot start (the program ends).
  bool Start();
  void SetDialogs(UpdateDialogs dialogs) { dialogs_ = std::move(dialogs); }

  // The commands, as the button and the menu run them.
  void ProceedWithUpdate();
  void ChoosePort(const std::string& name);
  void UpdateBinFile();
  void ShowAbout();

  bool PaneShown() const { return paneShown_.load(); }
  QPushButton* ProceedButton() const { return proceed_; }
  QGroupBox* MessagesBox() const { return messages_; }
  QMenu* PortMenu() const { return portMenu_; }
  QAction* BinUpdateItem() const { return binUpdate_; }
  QAction* ExitItem() const { return exit_; }
  ui::ClientView& View() { return *view_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildPortMenu(QMenu* menu);
  void InstallHooks();
  void PlaceWindow();
  void RunFinished(int result);
  void SetRunning(bool running);
  void RepaintAll();
  std::string PortName() const;

  UpdateProgram& program_;
  UpdateDialogs dialogs_;
  ui::ClientView* view_;
  QPushButton* proceed_ = nullptr;
  QGroupBox* messages_ = nullptr;
  QMenu* portMenu_ = nullptr;
  QAction* binUpdate_ = nullptr;
  QAction* exit_ = nullptr;
  std::atomic<bool> paneShown_{false};
  mutable std::mutex portMutex_;  // the port name the status line shows (communication thread reads)
  std::string portName_;
};

}  // namespace vantor::update_app
