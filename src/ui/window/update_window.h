#pragma once
// UpdateWindow: ORV_KDM9Update's fixed 800 x 600 window: the face (title,
// introduction or message pane, port status) drawn into its canvas, the
// "Proceed With Update" button and the "Messages" frame, the CommPort menu,
// "&BIN Update..." and About. While an update runs, nothing that could
// change the port or end the program is available.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "ui/window/canvas_surface.h"
#include "ui/window/menu_model.h"
#include "ui/window/port_menu.h"
#include "ui/window/update_program.h"

namespace vantor::ui {

class UpdateWindow final : public WindowEvents {
 public:
  static constexpr int kProceed = 1, kMessages = 2;
  static constexpr int kPortMenu = 40001, kBinUpdate = 40002, kExit = 40003, kAbout = 40004;

  UpdateWindow(UpdateProgram& program, Host& host);
  // Stops the program's threads first: they draw into this window.
  ~UpdateWindow() override;

  // Start-up after Show: opens the port, writes the configuration and starts
  // the communication thread. False when it cannot start (the program ends).
  bool Start();

  // The commands, as the button and the menu run them.
  void ProceedWithUpdate();
  void ChoosePort(const std::string& name);
  void UpdateBinFile();

  bool PaneShown() const { return paneShown_.load(); }
  const MenuModel& Menu() const { return menu_; }
  WindowHost& Window() { return *window_; }
  CanvasSurface& Surface() { return surface_; }

  void OnCommand(int id) override;
  void OnMenuOpening(int menu) override;
  void OnControl(const ControlEvent& event) override;
  bool OnCloseRequest() override;

 private:
  void InstallHooks();
  void RunFinished(int result);
  void SetRunning(bool running);
  void ShowBox(const std::string& text, const std::string& caption, BoxIcon icon);
  std::string PortName() const;

  UpdateProgram& program_;
  Host& host_;
  CanvasSurface surface_;
  std::unique_ptr<WindowHost> window_;
  PortMenu portMenu_;
  MenuModel menu_;
  std::atomic<bool> paneShown_{false};
  bool running_ = false;
  mutable std::mutex portMutex_;  // the port name the status line shows (communication thread reads)
  std::string portName_;
};

}  // namespace vantor::ui
