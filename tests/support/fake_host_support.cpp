#include "support/fake_host.h"

#include <algorithm>

namespace vantor::ui::test {

// ---- the window ----

FakeWindow::FakeWindow(FakeHost& host, WindowEvents& events, bool dialog) : host_(host), events_(&events), dialog_(dialog) {}

FakeWindow::~FakeWindow() { host_.Forget(this); }

const FakeWindow::Control* FakeWindow::Find(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : &found->second;
}

int FakeWindow::IdOf(const std::string& text) const {
  for (const auto& [id, control] : controls_)
    if (control.text == text) return id;
  return 0;
}

void FakeWindow::Notify(int id, ControlAction action, int value, ScrollRequest scroll) {
  if (events_) events_->OnControl(ControlEvent{id, action, value, scroll});
}

void FakeWindow::CheckRadio(Control& radio) {
  for (auto& [id, other] : controls_)
    if (other.spec.kind == ControlKind::RadioButton && other.group == radio.group) other.checked = false;
  radio.checked = true;
}

void FakeWindow::Click(int id) {
  Control* control = Get(id);
  if (!control || !control->enabled) return;
  if (control->spec.kind == ControlKind::CheckBox) control->checked = !control->checked;
  if (control->spec.kind == ControlKind::RadioButton) CheckRadio(*control);
  if (!(control->spec.style & control_style::kNoFocus)) FocusTo(id);
  Notify(id, ControlAction::Clicked, control->checked);
}

void FakeWindow::Choose(int id, int index) {
  if (Control* control = Get(id)) control->value = index;
  Notify(id, ControlAction::Changed, index);
}

void FakeWindow::Type(int id, const std::string& text) {
  Control* control = Get(id);
  if (!control) return;
  control->text = text;
  Notify(id, ControlAction::Edited, static_cast<int>(text.size()));
}

void FakeWindow::FocusTo(int id) {
  const int left = focus_;
  focus_ = id;
  if (left != id && left > 0)
    if (const Control* control = Find(left); control && control->spec.kind == ControlKind::Edit)
      Notify(left, ControlAction::FocusLost);
}

bool FakeWindow::Press(Key key, char text, bool shift, std::optional<int> control) {
  if (!events_) return false;
  return events_->OnKey(KeyEvent{key, text, shift, false, true, control ? *control : std::max(focus_, 0)});
}

namespace {

const MenuItem* FindItem(const std::vector<MenuItem>& items, int id) {
  for (const MenuItem& item : items) {
    if (item.id == id && !item.text.empty()) return &item;
    if (const MenuItem* inner = FindItem(item.items, id)) return inner;
  }
  return nullptr;
}

MenuItem* FindItem(std::vector<MenuItem>& items, int id) {
  return const_cast<MenuItem*>(FindItem(static_cast<const std::vector<MenuItem>&>(items), id));
}

}  // namespace

const MenuItem* FakeWindow::MenuFind(int id) const { return FindItem(menu_, id); }

const std::vector<MenuItem>* FakeWindow::MenuItems(int submenu) const {
  const MenuItem* menu = MenuFind(submenu);
  return menu ? &menu->items : nullptr;
}

bool FakeWindow::Menu(int id) {
  const MenuItem* item = MenuFind(id);
  if (!item || !item->enabled || !events_) return false;
  events_->OnCommand(id);
  return true;
}

void FakeWindow::FireTimer(int id) {
  const auto found = timers_.find(id);
  if (found == timers_.end() || !events_) return;
  timers_.erase(found);
  events_->OnTimer(id);
}

bool FakeWindow::CloseBox() {
  if (!events_ || !events_->OnCloseRequest()) return false;
  closed_ = true;
  shown_ = false;
  return true;
}

// ---- WindowHost ----

void FakeWindow::Close() {
  if (dialog_)
    closed_ = true;
  else
    CloseBox();
}

void FakeWindow::Activate() { host_.activeWindow = this; }
bool FakeWindow::Active() const { return host_.activeWindow == this; }

void FakeWindow::SetMenu(const std::vector<MenuItem>& bar, const std::vector<Accelerator>&) { menu_ = bar; }

void FakeWindow::SetMenuItems(int submenu, const std::vector<MenuItem>& items) {
  if (MenuItem* menu = FindItem(menu_, submenu)) menu->items = items;
}

void FakeWindow::SetMenuItemState(const MenuItem& item) {
  if (MenuItem* mine = FindItem(menu_, item.id)) {
    mine->text = item.text;
    mine->enabled = item.enabled;
    mine->checked = item.checked;
  }
}

void FakeWindow::CreateControl(const ControlSpec& spec) {
  Control control;
  control.spec = spec;
  control.text = spec.text;
  control.items = spec.items;
  control.shown = !(spec.style & control_style::kHidden);
  if (spec.kind == ControlKind::RadioButton) {
    if ((spec.style & control_style::kGroupStart) || lastGroup_ == 0) lastGroup_ = spec.id;
    control.group = lastGroup_;
  }
  controls_[spec.id] = control;
}

void FakeWindow::DestroyControl(int id) {
  controls_.erase(id);
  if (focus_ == id) focus_ = -1;
}

std::string FakeWindow::Text(int id) const {
  const Control* control = Find(id);
  if (!control) return {};
  if (control->spec.kind == ControlKind::ComboBox)
    return control->value >= 0 && control->value < static_cast<int>(control->items.size())
               ? control->items[static_cast<std::size_t>(control->value)]
               : std::string();
  return control->text;
}

void FakeWindow::SetChecked(int id, bool checked) {
  Control* control = Get(id);
  if (!control) return;
  if (checked && control->spec.kind == ControlKind::RadioButton)
    CheckRadio(*control);
  else
    control->checked = checked;
}

void FakeWindow::SetItemText(int id, int item, const std::string& text) {
  if (Control* control = Get(id); control && item >= 0 && item < static_cast<int>(control->items.size()))
    control->items[static_cast<std::size_t>(item)] = text;
}

void FakeWindow::ShowPage(int, Point, Point, const std::vector<ControlSpec>& controls) {
  for (auto it = controls_.begin(); it != controls_.end();) it = it->second.onPage ? controls_.erase(it) : std::next(it);
  for (const ControlSpec& spec : controls) {
    CreateControl(spec);
    controls_[spec.id].onPage = true;
  }
}

// ---- the host ----

FakeHost::FakeHost() : uiThread_(std::this_thread::get_id()) {}
FakeHost::~FakeHost() = default;

std::unique_ptr<WindowHost> FakeHost::CreateWindow(const WindowSpec&, WindowEvents& events, PixelSource*,
                                                   WindowHost*) {
  return std::make_unique<FakeWindow>(*this, events, false);
}

void FakeHost::RunDialog(const DialogSpec& spec, WindowEvents& events, const std::function<void(WindowHost&)>& opened,
                         WindowHost*) {
  FakeWindow dialog(*this, events, true);
  ++modalDepth_;
  for (const ControlSpec& control : spec.controls) dialog.CreateControl(control);
  dialog.Show();
  if (opened) opened(dialog);
  if (!dialogDrivers.empty()) {
    auto drive = std::move(dialogDrivers.front());
    dialogDrivers.pop_front();
    drive(dialog);
  }
  if (!dialog.Closed() && events.OnCloseRequest()) dialog.Close();  // Escape
  --modalDepth_;
}

std::optional<std::string> FakeHost::ChooseFile(const FileChooserSpec& spec, WindowHost*) {
  choosers.push_back(spec);
  if (chooserAnswers.empty()) return std::nullopt;
  auto answer = std::move(chooserAnswers.front());
  chooserAnswers.pop_front();
  return answer;
}

BoxAnswer FakeHost::ShowMessage(const MessageSpec& spec, WindowHost*) {
  boxes.push_back(spec);
  if (boxAnswers.empty()) return spec.buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
  const BoxAnswer answer = boxAnswers.front();
  boxAnswers.pop_front();
  return answer;
}

void FakeHost::Post(std::function<void()> work) {
  {
    std::lock_guard<std::mutex> lock(postMutex_);
    work_.push_back(std::move(work));
  }
  posted_.notify_all();
}

void FakeHost::Pump() {
  for (;;) {
    std::function<void()> work;
    {
      std::lock_guard<std::mutex> lock(postMutex_);
      if (work_.empty()) return;
      work = std::move(work_.front());
      work_.pop_front();
    }
    work();
  }
}

bool FakeHost::WaitUntil(const std::function<bool()>& done, std::chrono::seconds bound) {
  const auto end = std::chrono::steady_clock::now() + bound;
  for (;;) {
    Pump();
    if (done()) return true;
    std::unique_lock<std::mutex> lock(postMutex_);
    if (std::chrono::steady_clock::now() > end) return false;
    // Woken by posted work; the condition may also turn on another thread.
    posted_.wait_for(lock, std::chrono::milliseconds(5), [this] { return !work_.empty(); });
  }
}

}  // namespace vantor::ui::test
