#include "ui/window/tool_windows.h"

#include "link/commands.h"
#include "live/live_data.h"
#include "settings/settings.h"

namespace vantor::ui {
namespace {

constexpr int kFlashTimer = 1;
constexpr int kFlashPauseMs = 120;

// A window's keys in the configuration.
struct Placement {
  std::int32_t& x;
  std::int32_t& y;
  std::int32_t& open;
};

void StorePosition(ToolWindow& window, Placement place) {
  const Point at = window.Window().Position();
  place.x = at.x;
  place.y = at.y;
}

// Stores where it was; the user closing it also marks it closed.
void TakeDown(ToolWindow& window, Placement place, bool byUser) {
  StorePosition(window, place);
  if (byUser) place.open = 0;
}

}  // namespace

// ---- a tool window ----

ToolWindow::ToolWindow(const ToolWindowLinks& links, const std::string& title, int width, int height)
    : links_(links), surface_(*links.host, width, height) {
  window_ = links_.host->CreateWindow(WindowSpec{title, width, height, WindowKind::Tool, {}}, *this, &surface_,
                                      links_.mainWindow);
  surface_.Attach(window_.get());
}

ToolWindow::~ToolWindow() { surface_.Attach(nullptr); }

bool ToolWindow::OnKey(const KeyEvent& key) {
  if (key.press && (key.key == Key::Escape || key.key == Key::Enter)) {
    if (onUserClose) onUserClose();
    return true;
  }
  return links_.passKey && links_.passKey(key);
}

// The owner takes it down.
bool ToolWindow::OnCloseRequest() {
  if (onUserClose) onUserClose();
  return false;
}

void ToolWindow::TakeFocus() {
  if (links_.modalOpen && links_.modalOpen()) return;
  window_->Activate();
  window_->Focus(0, false);
}

void ToolWindow::OnMouse(const MouseEvent& mouse) {
  switch (mouse.action) {
    case MouseAction::Enter: TakeFocus(); break;
    case MouseAction::Leave:
      MouseLeft();
      if (links_.focusMainWindow && !(links_.modalOpen && links_.modalOpen())) links_.focusMainWindow();
      break;
    case MouseAction::Move:
      if (!window_->Active()) TakeFocus();
      MouseMoved(mouse.at.x);
      break;
    case MouseAction::Press:
      if (mouse.left) MousePressed(mouse.at.x);
      break;
    case MouseAction::Release:
      if (mouse.left) MouseReleased(mouse.at.x);
      break;
    default: break;
  }
}

void ToolWindow::Flash() {
  flashStep_ = 0;
  FlashStep();
}

// Even steps give the tool window the focus, odd ones the main window.
void ToolWindow::FlashStep() {
  if (flashStep_ % 2 == 0) {
    window_->Activate();
    window_->Focus(0, false);
  } else if (links_.focusMainWindow) {
    links_.focusMainWindow();
  }
  if (++flashStep_ < 4) window_->StartTimer(kFlashTimer, kFlashPauseMs, true);
}

void ToolWindow::OnTimer(int id) {
  if (id == kFlashTimer) FlashStep();
}

// ---- the two windows ----

MalfCodesWindow::MalfCodesWindow(const ToolWindowLinks& links)
    : ToolWindow(links, "Malfunction Codes", kMalfWidth, kMalfHeight) {
  Surface().SetPainter([this](Canvas& canvas) { face_.Paint(canvas); });
}

void MalfCodesWindow::OnFrame(const std::uint8_t* data, bool) {
  DrawScope scope(Surface());
  face_.Update(scope.canvas(), data);
}

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

// ---- both ----

ToolWindows::ToolWindows(Settings& settings, FrameLoop& loop, EcmLink& link, const LiveData& live,
                         ToolWindowLinks links)
    : settings_(settings), loop_(loop), link_(link), live_(live), links_(std::move(links)) {}

// The loop lets go of them before they go.
ToolWindows::~ToolWindows() {
  if (malf_) loop_.SetMalfunctionCodes(nullptr);
  if (bank_) loop_.SetBankSelect(nullptr);
}

// It goes once the event in hand is over: that may be the window's own.
void ToolWindows::Retire(std::shared_ptr<ToolWindow> window) {
  window->Window().Hide();
  retired_.push_back(std::move(window));
  links_.host->Post([this, alive = std::weak_ptr<int>(alive_)] {
    if (alive.lock()) retired_.clear();
  });
}

void ToolWindows::Show(ToolWindow& window, int x, int y) {
  if (x != -1) window.Window().Move(Point{x, y});
  window.Window().Show();
  window.Surface().RepaintAll();
  if (links_.focusMainWindow) links_.focusMainWindow();
}

void ToolWindows::OpenMalf() {
  if (malf_) {
    malf_->Flash();
    return;
  }
  malf_ = std::make_shared<MalfCodesWindow>(links_);
  malf_->onUserClose = [this] { RemoveMalf(true); };
  settings_.actvMalf = 1;
  Show(*malf_, settings_.xPosMalf, settings_.yPosMalf);
  loop_.SetMalfunctionCodes(malf_.get());
}

void ToolWindows::OpenBank() {
  if (bank_) {
    bank_->Flash();
    return;
  }
  bank_ = std::make_shared<BankSelectWindow>(links_, link_, live_.activeBank.load());
  bank_->onUserClose = [this] { RemoveBank(true); };
  settings_.actvFbnk = 1;
  Show(*bank_, settings_.xPosFbnk, settings_.yPosFbnk);
  loop_.SetBankSelect(bank_.get());
}

void ToolWindows::CloseMalf() { RemoveMalf(false); }
void ToolWindows::CloseBank() { RemoveBank(false); }

void ToolWindows::RemoveMalf(bool byUser) {
  if (!malf_) return;
  loop_.SetMalfunctionCodes(nullptr);  // waits for a frame being drawn
  TakeDown(*malf_, Placement{settings_.xPosMalf, settings_.yPosMalf, settings_.actvMalf}, byUser);
  Retire(std::move(malf_));
}

void ToolWindows::RemoveBank(bool byUser) {
  if (!bank_) return;
  loop_.SetBankSelect(nullptr);
  TakeDown(*bank_, Placement{settings_.xPosFbnk, settings_.yPosFbnk, settings_.actvFbnk}, byUser);
  Retire(std::move(bank_));
}

void ToolWindows::CapturePositions() {
  if (malf_) StorePosition(*malf_, Placement{settings_.xPosMalf, settings_.yPosMalf, settings_.actvMalf});
  if (bank_) StorePosition(*bank_, Placement{settings_.xPosFbnk, settings_.yPosFbnk, settings_.actvFbnk});
}

bool ToolWindows::AnyActive() const {
  return (malf_ && malf_->Window().Active()) || (bank_ && bank_->Window().Active());
}

}  // namespace vantor::ui
