#pragma once
// The Bank Select window ("Flash Bank"): the eight bank squares, redrawn by
// the frame processing loop when the ECM's bank changes; a click on a square
// asks the ECM to run that bank.

#include <atomic>

#include "live/frame_loop.h"
#include "ui/draw/bank_select_face.h"
#include "ui/qt/tool_window.h"

namespace vantor {
class EcmLink;
}

namespace vantor::ui {

class BankSelectWindow final : public ToolWindow, public BankSelectView {
  Q_OBJECT
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

}  // namespace vantor::ui
