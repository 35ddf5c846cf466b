#pragma once
// The two floating windows of the main window: Malfunction Codes and Bank
// Select. The mouse over one gives it the focus (unless a modal dialog is
// up); leaving it gives the focus back to the main window; typed keys go to
// the main window's key handling; Enter and Esc close it. Opening places
// them where they were and marks them open in the configuration; the user
// closing one marks it closed; the program closing one (Analysis, Flash, a
// playback) keeps the mark. Their positions are stored whenever they go.

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include "live/frame_loop.h"
#include "ui/draw/bank_select_face.h"
#include "ui/draw/malf_codes_face.h"
#include "ui/window/canvas_surface.h"

namespace vantor {
class EcmLink;
struct LiveData;
struct Settings;
}  // namespace vantor

namespace vantor::ui {

struct ToolWindowLinks {
  Host* host = nullptr;
  WindowHost* mainWindow = nullptr;
  std::function<bool()> modalOpen;                // a modal dialog of the program is up
  std::function<bool(const KeyEvent&)> passKey;   // the main window's keys
  std::function<void()> focusMainWindow;
};

class ToolWindow : public WindowEvents {
 public:
  ToolWindow(const ToolWindowLinks& links, const std::string& title, int width, int height);
  ~ToolWindow() override;

  CanvasSurface& Surface() { return surface_; }
  WindowHost& Window() { return *window_; }
  // Called when the user closes it (Enter, Esc or the close box).
  std::function<void()> onUserClose;
  // Focus to it, to the main window and to it again, 120 ms apart, then back.
  void Flash();

  bool OnKey(const KeyEvent& key) override;
  void OnMouse(const MouseEvent& mouse) override;
  void OnTimer(int id) override;
  bool OnCloseRequest() override;

 protected:
  virtual void MouseMoved(int) {}
  virtual void MousePressed(int) {}
  virtual void MouseReleased(int) {}
  virtual void MouseLeft() {}

 private:
  void TakeFocus();
  void FlashStep();

  ToolWindowLinks links_;
  CanvasSurface surface_;
  std::unique_ptr<WindowHost> window_;
  int flashStep_ = 0;
};

// The lamp grid, refreshed by the frame processing loop (display thread).
class MalfCodesWindow final : public ToolWindow, public FrameConsumer {
 public:
  explicit MalfCodesWindow(const ToolWindowLinks& links);
  void OnFrame(const std::uint8_t* data, bool draw) override;

 private:
  MalfCodesFace face_;  // under the surface's lock
};

// The eight bank squares; a click on a square asks the ECM to run that bank.
class BankSelectWindow final : public ToolWindow, public BankSelectView {
 public:
  BankSelectWindow(const ToolWindowLinks& links, EcmLink& link, int activeBank);
  void ShowActiveBank(int bank) override;  // display thread

 protected:
  void MouseMoved(int x) override;
  void MousePressed(int x) override { pressX_ = x; }
  void MouseReleased(int x) override;
  void MouseLeft() override;

 private:
  EcmLink& link_;
  BankSelectFace face_;  // under the surface's lock
  std::atomic<int> bank_;
  int pressX_ = -1;
};

class ToolWindows {
 public:
  ToolWindows(Settings& settings, FrameLoop& loop, EcmLink& link, const LiveData& live, ToolWindowLinks links);
  ~ToolWindows();
  ToolWindows(const ToolWindows&) = delete;
  ToolWindows& operator=(const ToolWindows&) = delete;

  bool MalfOpen() const { return malf_ != nullptr; }
  bool BankOpen() const { return bank_ != nullptr; }
  // An open window flashes into view; focus then returns to the main window.
  void OpenMalf();
  void OpenBank();
  void CloseMalf();
  void CloseBank();
  // Before the configuration is written at exit.
  void CapturePositions();
  // Whether either has the keyboard.
  bool AnyActive() const;
  MalfCodesWindow* Malf() { return malf_.get(); }
  BankSelectWindow* Bank() { return bank_.get(); }

 private:
  void Show(ToolWindow& window, int x, int y);
  void RemoveMalf(bool byUser);
  void RemoveBank(bool byUser);
  void Retire(std::shared_ptr<ToolWindow> window);

  Settings& settings_;
  FrameLoop& loop_;
  EcmLink& link_;
  const LiveData& live_;
  ToolWindowLinks links_;
  std::shared_ptr<MalfCodesWindow> malf_;
  std::shared_ptr<BankSelectWindow> bank_;
  std::vector<std::shared_ptr<ToolWindow>> retired_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // posted work checks it
};

}  // namespace vantor::ui
