#pragma once
// A recording host for the window layer's tests: windows and dialogs are
// records of their controls and menus; the test plays the user (clicks,
// keys, mouse, menu items) and answers choosers and boxes from queues.
// Work posted from other threads waits until the test pumps it.

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "ui/window/window_host.h"

namespace vantor::ui::test {

class FakeHost;

class FakeWindow final : public WindowHost {
 public:
  struct Control {
    ControlSpec spec;
    std::string text;
    bool checked = false, enabled = true, shown = true, onPage = false;
    int value = 0, maximum = 0;
    int group = 0;  // a radio button's group (its first button's id)
    std::vector<std::string> items;
  };

  FakeWindow(FakeHost& host, WindowEvents& events, bool dialog);
  ~FakeWindow() override;

  // ---- the user ----
  void Click(int id);                 // buttons, check boxes (toggled), radio buttons (checked)
  void Choose(int id, int index);     // a combo box entry or a tab
  void Slide(int id, int position) { Choose(id, position); }  // a trackbar
  void Scroll(int id, ScrollRequest request, int position = 0) {
    Notify(id, ControlAction::Scrolled, position, request);
  }
  void Type(int id, const std::string& text);  // the edit's whole new text, cursor at its end
  void FocusTo(int id);               // an edit left for another control reports it
  // A key to the control with the focus (or control); false when nobody used it.
  bool Press(Key key, char text = 0, bool shift = false, std::optional<int> control = std::nullopt);
  bool Type(char text) { return Press(Key::Other, text); }
  bool Menu(int id);                  // a menu item, when enabled
  void OpenMenu(int submenu) {
    if (events_) events_->OnMenuOpening(submenu);
  }
  void FireTimer(int id);
  bool CloseBox();                    // the close box (true: the window went)

  // ---- what it shows ----
  const Control* Find(int id) const;
  bool Has(int id) const { return Find(id) != nullptr; }
  int IdOf(const std::string& text) const;  // a control by its text, 0 when none
  const MenuItem* MenuFind(int id) const;
  const std::vector<MenuItem>* MenuItems(int submenu) const;
  bool Closed() const { return closed_; }

  // ---- WindowHost ----
  void Show() override { shown_ = true; }
  void Hide() override { shown_ = false; }
  void Close() override;
  Point Position() const override { return position_; }
  void Move(Point at) override { position_ = at; }
  bool Minimised() const override { return false; }
  void Activate() override;
  bool Active() const override;
  void SetMenu(const std::vector<MenuItem>& bar, const std::vector<Accelerator>& keys) override;
  void SetMenuItems(int submenu, const std::vector<MenuItem>& items) override;
  void SetMenuItemState(const MenuItem& item) override;
  void CreateControl(const ControlSpec& spec) override;
  void DestroyControl(int id) override;
  void SetText(int id, const std::string& text) override { if (Control* c = Get(id)) c->text = text; }
  std::string Text(int id) const override;
  void SetChecked(int id, bool checked) override;
  bool Checked(int id) const override { return Find(id) && Find(id)->checked; }
  void SetValue(int id, int value) override { if (Control* c = Get(id)) c->value = value; }
  int Value(int id) const override { return Find(id) ? Find(id)->value : 0; }
  void SetRange(int id, int, int maximum, int) override { if (Control* c = Get(id)) c->maximum = maximum; }
  void SetItemText(int id, int item, const std::string& text) override;
  void SetEnabled(int id, bool enabled) override { if (Control* c = Get(id)) c->enabled = enabled; }
  void SetShown(int id, bool shown) override { if (Control* c = Get(id)) c->shown = shown; }
  void Focus(int id, bool) override { focus_ = id; }
  int FocusedControl() const override { return focus_; }
  void SelectText(int, int, int) override {}
  void ShowPage(int tab, Point corner, Point shrink, const std::vector<ControlSpec>& controls) override;
  void Invalidate(const Rect&) override {}
  void PresentNow(const Rect&) override {}
  void StartTimer(int id, int milliseconds, bool) override { timers_[id] = milliseconds; }
  void StopTimer(int id) override { timers_.erase(id); }

  std::map<int, int> timers_;  // running timers and their periods

 private:
  Control* Get(int id) { return const_cast<Control*>(Find(id)); }
  void Notify(int id, ControlAction action, int value = 0, ScrollRequest scroll = ScrollRequest::Track);
  void CheckRadio(Control& radio);

  FakeHost& host_;
  WindowEvents* events_;
  bool dialog_;
  bool shown_ = false, closed_ = false;
  Point position_;
  int focus_ = -1;
  int lastGroup_ = 0;
  std::map<int, Control> controls_;
  std::vector<MenuItem> menu_;
};

class FakeHost final : public Host {
 public:
  FakeHost();
  ~FakeHost() override;

  // ---- answers ----
  void AnswerChooser(std::optional<std::string> path) { chooserAnswers.push_back(std::move(path)); }
  void AnswerBox(BoxAnswer answer) { boxAnswers.push_back(answer); }
  // Drives the next dialog; when it leaves it open, Escape closes it.
  void OnNextDialog(std::function<void(FakeWindow&)> drive) { dialogDrivers.push_back(std::move(drive)); }

  // ---- the event loop ----
  // Runs the work posted so far (and what it posts).
  void Pump();
  // Pumps until done() holds, waking on posted work; false after bound.
  bool WaitUntil(const std::function<bool()>& done, std::chrono::seconds bound = std::chrono::seconds(20));

  // ---- what happened ----
  std::vector<FileChooserSpec> choosers;
  std::vector<MessageSpec> boxes;
  std::vector<std::string> textBoxes;
  int beeps = 0;
  FakeWindow* activeWindow = nullptr;

  std::deque<std::optional<std::string>> chooserAnswers;
  std::deque<BoxAnswer> boxAnswers;
  std::deque<std::function<void(FakeWindow&)>> dialogDrivers;

  // ---- Host ----
  std::unique_ptr<WindowHost> CreateWindow(const WindowSpec& spec, WindowEvents& events, PixelSource* pixels,
                                           WindowHost* owner) override;
  void RunDialog(const DialogSpec& spec, WindowEvents& events, const std::function<void(WindowHost&)>& opened,
                 WindowHost* owner) override;
  std::optional<std::string> ChooseFile(const FileChooserSpec& spec, WindowHost* owner) override;
  BoxAnswer ShowMessage(const MessageSpec& spec, WindowHost* owner) override;
  void ShowTextBox(const TextBoxSpec& spec, WindowHost*) override { textBoxes.push_back(spec.title); }
  void Beep() override { ++beeps; }
  void Post(std::function<void()> work) override;
  bool OnUserThread() const override { return std::this_thread::get_id() == uiThread_; }
  Point DesktopSize() const override { return Point{1280, 1024}; }
  bool ModalOpen() const override { return modalDepth_ > 0; }

  void Forget(FakeWindow* window) {
    if (activeWindow == window) activeWindow = nullptr;
  }

 private:
  std::thread::id uiThread_;
  std::mutex postMutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> work_;
  int modalDepth_ = 0;
};

}  // namespace vantor::ui::test
