#include "ui/qt/tool_windows.h"

#include "live/frame_loop.h"
#include "live/live_data.h"
#include "settings/settings.h"
#include "ui/qt/bank_select_window.h"
#include "ui/qt/malf_codes_window.h"

namespace vantor::ui {

ToolWindows::ToolWindows(Settings& settings, FrameLoop& loop, EcmLink& link, const LiveData& live,
                         ToolWindowLinks links)
    : settings_(settings), loop_(loop), link_(link), live_(live), links_(std::move(links)) {}

// The loop lets go of them before they go.
ToolWindows::~ToolWindows() {
  CloseMalf();
  CloseBank();
}

void ToolWindows::Show(ToolWindow* window, int x, int y) {
  if (x != -1) window->move(x, y);
  window->show();
  window->Surface().RepaintAll();
  if (links_.focusMainWindow) links_.focusMainWindow();
}

void ToolWindows::OpenMalf() {
  if (malf_) {
    malf_->Flash();
    return;
  }
  malf_ = new MalfCodesWindow(links_);
  malf_->onUserClose = [this] { RemoveMalf(true); };
  settings_.actvMalf = 1;
  Show(malf_, settings_.xPosMalf, settings_.yPosMalf);
  loop_.SetMalfunctionCodes(malf_);
}

void ToolWindows::OpenBank() {
  if (bank_) {
    bank_->Flash();
    return;
  }
  bank_ = new BankSelectWindow(links_, link_, live_.activeBank.load());
  bank_->onUserClose = [this] { RemoveBank(true); };
  settings_.actvFbnk = 1;
  Show(bank_, settings_.xPosFbnk, settings_.yPosFbnk);
  loop_.SetBankSelect(bank_);
}

void ToolWindows::CloseMalf() { RemoveMalf(false); }
void ToolWindows::CloseBank() { RemoveBank(false); }

void ToolWindows::RemoveMalf(bool byUser) {
  if (!malf_) return;
  loop_.SetMalfunctionCodes(nullptr);  // waits for a frame being drawn
  settings_.xPosMalf = malf_->pos().x();
  settings_.yPosMalf = malf_->pos().y();
  if (byUser) settings_.actvMalf = 0;
  MalfCodesWindow* window = malf_;
  malf_ = nullptr;
  window->hide();
  window->deleteLater();
}

void ToolWindows::RemoveBank(bool byUser) {
  if (!bank_) return;
  loop_.SetBankSelect(nullptr);
  settings_.xPosFbnk = bank_->pos().x();
  settings_.yPosFbnk = bank_->pos().y();
  if (byUser) settings_.actvFbnk = 0;
  BankSelectWindow* window = bank_;
  bank_ = nullptr;
  window->hide();
  window->deleteLater();
}

void ToolWindows::CapturePositions() {
  if (malf_) {
    settings_.xPosMalf = malf_->pos().x();
    settings_.yPosMalf = malf_->pos().y();
  }
  if (bank_) {
    settings_.xPosFbnk = bank_->pos().x();
    settings_.yPosFbnk = bank_->pos().y();
  }
}

bool ToolWindows::IsToolWindow(const QWidget* widget) const {
  return widget && (widget == malf_.data() || widget == bank_.data());
}

}  // namespace vantor::ui
