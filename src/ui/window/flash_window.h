#pragma once
// FlashWindow: the Flash display's form on the main window: bank, action
// and option controls that write their settings as they are clicked, the
// two file choosers, Apply running the bank job with the pane drawn as each
// line comes, and the keys that move the focus.
//
// While it exists the live stream is not read (byte source None), the data
// log writer is paused and LinkTick runs; its destruction restores all three.

#include <functional>
#include <vector>

#include "cal/message_pane.h"
#include "live/byte_source.h"
#include "ui/draw/flash_display.h"
#include "ui/window/window_host.h"

namespace vantor::ui {

class ProgramParts;

// The Flash display's message pane; its lines outlive the window.
MessagePane& FlashProgramPane();

class FlashWindow {
 public:
  static constexpr int kFirstBank = 310, kProgramBank = 320, kReadBank = 321, kSelectBin = 330, kVerify = 331,
                       kSetBankActive = 332, kClose = 333, kApply = 334;

  // close: select the gauge display (called after the click has returned).
  FlashWindow(ProgramParts& parts, Host& host, WindowHost& window, DrawSurface& surface, std::function<void()> close);
  ~FlashWindow();
  FlashWindow(const FlashWindow&) = delete;
  FlashWindow& operator=(const FlashWindow&) = delete;

  DisplayBody& Body() { return body_; }
  MessagePane& Pane() { return pane_; }
  bool Owns(int id) const;
  // The main window's events for the form's controls; false when not theirs.
  bool OnControl(const ControlEvent& event);
  bool OnKey(const KeyEvent& key);

  void ChooseProgramFile();
  void ChooseReadFile();
  void Apply();

 private:
  void CreateControls();
  void ShowAction();
  void FocusBank();
  void MoveFocus(bool backwards);
  void DrawPane();
  void Message(const std::string& text, const std::string& caption);

  ProgramParts& parts_;
  Settings& settings_;  // the parts' settings, which the controls write
  Host& host_;
  WindowHost& window_;
  DrawSurface& surface_;
  std::function<void()> close_;
  MessagePane& pane_;
  FlashDisplay body_;
  ByteSourceId previousSource_;
  bool previousPaused_;
  std::vector<int> controls_;  // all, destroyed with the window
  std::vector<int> tabOrder_;
  bool shiftHeld_ = false;
};

}  // namespace vantor::ui
