#pragma once
// The Windows API host's window: a top-level window of a registered class
// whose client area shows the layer's pixels (a DIB on WM_PAINT), with its
// menu bar, accelerators, timers and native child controls by id; or a
// dialog made by the dialog manager, its controls placed in dialog units,
// with pages over its tab control. Messages become the layer's events.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/window/window_host.h"
#include "ui/win32/win32_host.h"
#include "ui/win32/win32_api.h"

namespace vantor::ui {

class Win32Window final : public WindowHost {
 public:
  // A window of the given kind (owner: the window it belongs to, or null).
  Win32Window(Win32Host& host, const WindowSpec& spec, WindowEvents& events, PixelSource* pixels, HWND owner);
  // A modal dialog's host; Attach gives it the dialog once the manager made it.
  Win32Window(Win32Host& host, WindowEvents& events);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  HWND Handle() const { return hwnd_; }
  void Attach(HWND dialog);
  // The window that owns a top-level handle (null: none of the host's).
  static Win32Window* Of(HWND top);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // From the message loop: a key or wheel message for this window or one of
  // its controls; true when it has been used (dispatched or consumed).
  bool PreTranslateKey(MSG& message);
  bool PreTranslateWheel(const MSG& message);
  // A message of the page shown over the tab control.
  bool PageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  void Show() override;
  void Hide() override;
  void Close() override;
  Point Position() const override;
  void Move(Point topLeft) override;
  bool Minimised() const override;
  void Activate() override;
  bool Active() const override;
  void SetMenu(const std::vector<MenuItem>& bar, const std::vector<Accelerator>& keys) override;
  void SetMenuItems(int submenu, const std::vector<MenuItem>& items) override;
  void SetMenuItemState(const MenuItem& item) override;
  void CreateControl(const ControlSpec& spec) override;
  void DestroyControl(int id) override;
  void SetText(int id, const std::string& text) override;
  std::string Text(int id) const override;
  void SetChecked(int id, bool checked) override;
  bool Checked(int id) const override;
  void SetValue(int id, int value) override;
  int Value(int id) const override;
  void SetRange(int id, int minimum, int maximum, int page) override;
  void SetItemText(int id, int item, const std::string& text) override;
  void SetEnabled(int id, bool enabled) override;
  void SetShown(int id, bool shown) override;
  void Focus(int id, bool byKey) override;
  int FocusedControl() const override;
  void SelectText(int id, int from, int to) override;
  void ShowPage(int tab, Point corner, Point shrink, const std::vector<ControlSpec>& controls) override;
  void Invalidate(const Rect& area) override;
  void PresentNow(const Rect& area) override;
  void StartTimer(int id, int milliseconds, bool once) override;
  void StopTimer(int id) override;

 private:
  struct Control {
    HWND hwnd = nullptr;
    ControlKind kind = ControlKind::StaticText;
    unsigned style = 0;
    std::optional<ControlColours> colours;
    int group = 0;          // a radio button's group: its first button's id
    int value = 0;          // a trackbar's position as last reported or set
    bool onPage = false;
    HBRUSH brush = nullptr;  // its background, when it has one of its own
  };
  struct MenuPlace {
    HMENU parent = nullptr;
    HMENU menu = nullptr;
    UINT position = 0;
  };

  // Messages both windows and dialogs take; true when handled, with *result.
  bool Common(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  LRESULT Message(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint();
  void Mouse(MouseAction action, LPARAM at, bool left, int wheel = 0);
  bool CloseRequested();
  void Notify(int id, ControlAction action, int value = 0, ScrollRequest scroll = ScrollRequest::Track);

  // Controls (win32_controls.cpp).
  HWND Make(const ControlSpec& spec, HWND parent, Control& control);
  RECT PixelsOf(const Rect& rect, HWND parent) const;
  void Remove(int id);
  const Control* Find(int id) const;
  int IdOf(HWND control) const;
  void Command(HWND control, WORD code);
  void Scrolled(HWND control, WORD code);
  void NotifyFrom(const NMHDR& header);
  HBRUSH Colours(HWND control, HDC dc);
  void DrawCanvasUnder(HWND control, HDC dc);
  void FrameGroupBox(HWND box);
  void CheckInGroup(int id);
  void ClearPage();

  // Menus (win32_menu.cpp).
  void AddItems(HMENU menu, const std::vector<MenuItem>& items);
  void ForgetMenusIn(HMENU menu);
  void MenuOpening(HMENU menu);
  bool IsAccelerator(const MSG& character, bool alt) const;

  Win32Host& host_;
  WindowEvents* events_;
  PixelSource* pixels_ = nullptr;
  HWND hwnd_ = nullptr;
  bool dialog_ = false;
  WindowKind kind_ = WindowKind::Main;
  std::optional<ControlColours> windowColours_;
  std::map<int, Control> controls_;
  int radioGroup_ = 0;  // the group radio buttons join
  std::map<int, MenuPlace> menus_;
  std::vector<int> refreshedMenus_;  // listed anew each time they open
  std::vector<Accelerator> keys_;
  HACCEL accelerators_ = nullptr;
  std::map<int, bool> timers_;  // id -> once
  HWND page_ = nullptr;
  HFONT font_ = nullptr;       // the controls' font
  bool quiet_ = false;         // the layer's own change: no notices
  bool tracking_ = false;      // the mouse is over the client area
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // posted work checks it
};

}  // namespace vantor::ui
