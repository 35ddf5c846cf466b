#include "ui/qt/tool_windows.h"

#include "live/frame_loop.h"
#include "live/live_data.h"
#include "settings/settings.h"
#include "ui/qt/bank_select_window.h"
#include "ui/qt/malf_codes_window.h"

namespace vantor::ui {
namespace {

// A window's keys in the configuration.
struct Placement {
  std::int32_t& x;
  std::int32_t& y;
  std::int32_t& open;
};

void StorePosition(const QWidget& window, Placement place) {
  place.x = window.pos().x();
  place.y = window.pos().y();
}

// Stores where it was; the user closing it also marks it closed. It goes
// later: it may be on the stack of its own close event.
template <typename Window>
void TakeDown(QPointer<Window>& window, Placement place, bool byUser) {
  StorePosition(*window, place);
  if (byUser) place.open = 0;
  Window* going = window;
  window = nullptr;
  going->hide();
  going->deleteLater();
}

}  // namespace

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
  TakeDown(malf_, Placement{settings_.xPosMalf, settings_.yPosMalf, settings_.actvMalf}, byUser);
}

void ToolWindows::RemoveBank(bool byUser) {
  if (!bank_) return;
  loop_.SetBankSelect(nullptr);
  TakeDown(bank_, Placement{settings_.xPosFbnk, settings_.yPosFbnk, settings_.actvFbnk}, byUser);
}

void ToolWindows::CapturePositions() {
  if (malf_) StorePosition(*malf_, Placement{settings_.xPosMalf, settings_.yPosMalf, settings_.actvMalf});
  if (bank_) StorePosition(*bank_, Placement{settings_.xPosFbnk, settings_.yPosFbnk, settings_.actvFbnk});
}

bool ToolWindows::IsToolWindow(const QWidget* widget) const {
  return widget && (widget == malf_.data() || widget == bank_.data());
}

}  // namespace vantor::ui
