#include "ui/qt/bank_select_window.h"

#include "link/commands.h"

namespace vantor::ui {

BankSelectWindow::BankSelectWindow(const ToolWindowLinks& links, EcmLink& link, int activeBank)
    : ToolWindow(links, "Flash Bank", kBankWidth, kBankHeight), link_(link), bank_(activeBank) {
  Surface().SetPainter([this](Canvas& canvas) { face_.Paint(canvas, bank_.load()); });
}

void BankSelectWindow::ShowActiveBank(int bank) {
  bank_.store(bank);
  DrawScope scope(Surface());
  face_.ShowBank(scope.canvas(), bank);
}

void BankSelectWindow::MouseMoved(int x) {
  DrawScope scope(Surface());
  face_.Hover(scope.canvas(), x);
}

void BankSelectWindow::MouseLeft() {
  DrawScope scope(Surface());
  face_.Leave(scope.canvas());
}

// The squares change only when the frames report the new bank.
void BankSelectWindow::MouseReleased(int x) {
  if (const auto bank = ClickedBank(pressX_, x)) TxMsBank(link_, *bank);
  pressX_ = -1;
}

}  // namespace vantor::ui
