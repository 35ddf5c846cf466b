#pragma once
// The one interface between the window layer and a toolkit. The layer holds
// every window's behaviour; a host gives it windows of a fixed client size
// with a menu bar, native controls addressed by id, a canvas presented from
// the layer's pixels, timers, file choosers, message boxes, the alert sound
// and modal dialogs built from control lists in dialog units. Events come
// back through WindowEvents, always on the user-interface thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/canvas.h"

namespace vantor::ui {

// ---- controls ----

enum class ControlKind {
  Button, CheckBox, RadioButton, Edit, ComboBox, Trackbar, Tab, ScrollBar, ProgressBar, GroupBox, StaticText
};

namespace control_style {
constexpr unsigned kTextLeft = 1u << 0;      // check box or radio button: its text left of the box
constexpr unsigned kGroupStart = 1u << 1;    // radio button: a group runs from here to the next start
constexpr unsigned kPushLike = 1u << 2;      // check box drawn as a push button
constexpr unsigned kDrawnByWindow = 1u << 3; // draws nothing: the window's own picture lies under it
constexpr unsigned kHorizontal = 1u << 4;    // scroll bar across
constexpr unsigned kTicks = 1u << 5;         // trackbar: tick marks below, every tenth of its range
constexpr unsigned kDigitsOnly = 1u << 6;    // edit: takes digits only
constexpr unsigned kDoubleClicks = 1u << 7;  // button: reports double clicks
constexpr unsigned kClickFocus = 1u << 8;    // takes the focus when clicked, never by TAB
constexpr unsigned kNoFocus = 1u << 9;       // never takes the focus
constexpr unsigned kDefault = 1u << 10;      // the dialog's default button
constexpr unsigned kWordWrap = 1u << 11;     // static text wraps
constexpr unsigned kFrameOnly = 1u << 12;    // group box: frame and title only; the mouse passes through
constexpr unsigned kHidden = 1u << 13;       // created hidden
}  // namespace control_style

// Colours of a control's text and, when given, of its background.
struct ControlColours {
  Rgb text;
  std::optional<Rgb> background;
  bool fill = false;                  // the control fills its rectangle with the background
  std::optional<Rgb> disabledText;
};

struct ControlSpec {
  int id = 0;
  ControlKind kind = ControlKind::StaticText;
  std::string text;
  Rect rect;                        // client pixels; dialog units on a dialog
  unsigned style = 0;
  int maxLength = 0;                // edit: characters, 0 no limit
  std::vector<std::string> items;   // combo box entries, tab captions
  std::optional<ControlColours> colours;
};

// ---- events ----

enum class Key { Other, Tab, Enter, Escape, Space, Shift, Up, Down, Left, Right, PageUp, PageDown, Home, End };

struct KeyEvent {
  Key key = Key::Other;
  char text = 0;        // the character typed, 0 when none
  bool shift = false;
  bool alt = false;
  bool press = true;    // false: released
  int control = 0;      // the control that has the key; 0 the window itself
};

enum class MouseAction { Move, Press, Release, DoubleClick, Wheel, Enter, Leave };

struct MouseEvent {
  MouseAction action = MouseAction::Move;
  Point at;
  bool left = false;    // press, release: the left button; move: the left button held
  int wheel = 0;        // wheel: positive away from the user
};

enum class ControlAction { Clicked, DoubleClicked, Changed, Edited, FocusLost, Scrolled };
enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Top, Bottom, Track };

// Only the user's actions are reported, never the layer's own changes.
struct ControlEvent {
  int id = 0;
  ControlAction action = ControlAction::Clicked;
  int value = 0;   // checked state, selection, position, track position; an edit's cursor
  ScrollRequest scroll = ScrollRequest::Track;
};

class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void OnCommand(int) {}                      // a menu item or an accelerator
  virtual void OnMenuOpening(int) {}                  // a submenu marked refreshOnOpen
  virtual void OnControl(const ControlEvent&) {}
  virtual bool OnKey(const KeyEvent&) { return false; }  // true: used
  virtual void OnMouse(const MouseEvent&) {}           // over the client area
  virtual void OnTimer(int) {}
  virtual bool OnCloseRequest() { return true; }      // false keeps the window
};

// ---- menus ----

struct MenuItem {
  int id = 0;                   // the command; on a submenu the name OnMenuOpening gives
  std::string text;             // empty: a separator
  bool enabled = true;
  bool checkable = false;
  bool checked = false;
  bool refreshOnOpen = false;   // a submenu listed anew (OnMenuOpening) each time it opens
  std::vector<MenuItem> items;  // a submenu's items
  bool IsSubmenu() const { return refreshOnOpen || !items.empty(); }
};

struct Accelerator {
  char key = 0;
  bool alt = false;
  int command = 0;
};

// ---- the canvas ----

// The layer's picture of a window, read by the host when it presents.
class PixelSource {
 public:
  virtual ~PixelSource() = default;
  virtual void ReadPixels(const std::function<void(const std::uint32_t* pixels, int width, int height)>& read) = 0;
};

// ---- a window ----

class WindowHost {
 public:
  virtual ~WindowHost() = default;

  virtual void Show() = 0;
  virtual void Hide() = 0;
  // A window: as its close box, OnCloseRequest decides. A dialog ends at once.
  virtual void Close() = 0;
  virtual Point Position() const = 0;    // the frame's top-left on the desktop
  virtual void Move(Point topLeft) = 0;
  virtual bool Minimised() const = 0;
  virtual void Activate() = 0;           // to the front with the keyboard
  virtual bool Active() const = 0;

  virtual void SetMenu(const std::vector<MenuItem>& bar, const std::vector<Accelerator>& keys) = 0;
  virtual void SetMenuItems(int submenu, const std::vector<MenuItem>& items) = 0;
  virtual void SetMenuItemState(const MenuItem& item) = 0;  // text, enabled and checked of item.id

  virtual void CreateControl(const ControlSpec& spec) = 0;
  virtual void DestroyControl(int id) = 0;
  virtual void SetText(int id, const std::string& text) = 0;
  virtual std::string Text(int id) const = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  virtual bool Checked(int id) const = 0;
  virtual void SetValue(int id, int value) = 0;   // position, or the selected entry or tab
  virtual int Value(int id) const = 0;
  virtual void SetRange(int id, int minimum, int maximum, int page) = 0;
  virtual void SetItemText(int id, int item, const std::string& text) = 0;
  virtual void SetEnabled(int id, bool enabled) = 0;
  virtual void SetShown(int id, bool shown) = 0;
  // 0: the client area; byKey as a TAB move does (the control shows it has the keys).
  virtual void Focus(int id, bool byKey) = 0;
  virtual int FocusedControl() const = 0;         // 0 the client area, -1 nothing of this window
  // Edit: selects from..to (to -1: the end); from == to puts the cursor there.
  virtual void SelectText(int id, int from, int to) = 0;
  // A dialog's page over its tab control: corner in pixels of the dialog,
  // the tab control's size less shrink pixels; its controls (dialog units
  // from the page's corner) replace the page shown before.
  virtual void ShowPage(int tab, Point corner, Point shrink, const std::vector<ControlSpec>& controls) = 0;

  virtual void Invalidate(const Rect& area) = 0;  // any thread: present the area again
  virtual void PresentNow(const Rect& area) = 0;  // user-interface thread, at once

  virtual void StartTimer(int id, int milliseconds, bool once) = 0;
  virtual void StopTimer(int id) = 0;
};

enum class WindowKind { Main, Tool, Popup };

struct WindowSpec {
  std::string title;
  int width = 800, height = 600;
  WindowKind kind = WindowKind::Main;
  std::optional<ControlColours> colours;  // the client area's controls' colours
};

struct DialogSpec {
  std::string title;
  int width = 0, height = 0;  // dialog units
  std::vector<ControlSpec> controls;
};

// ---- the modal things ----

struct FileFilter {
  std::string label;    // "BIN (*.bin)"
  std::string pattern;  // "*.bin"
};

struct FileChooserSpec {
  std::string title;
  std::string directory;        // empty: the working directory
  std::string name;             // the name proposed
  std::vector<FileFilter> filters;
  std::string defaultSuffix;    // completes a typed name without one
  bool save = false;            // a file to write (need not exist; no question asked)
};

enum class BoxIcon { Information, Question, Error };
enum class BoxButtons { Ok, YesNo, YesNoCancel };
enum class BoxAnswer { Ok, Yes, No, Cancel };

struct MessageSpec {
  std::string text, caption;
  BoxIcon icon = BoxIcon::Information;
  BoxButtons buttons = BoxButtons::Ok;
};

// A small box with the program's icon and lines of text (About, Help).
struct TextBoxSpec {
  struct Line {
    int x, y;
    std::string text;
  };
  std::string title;
  int width = 0, height = 0;
  std::vector<Line> lines;
};

class Host {
 public:
  virtual ~Host() = default;
  virtual std::unique_ptr<WindowHost> CreateWindow(const WindowSpec& spec, WindowEvents& events, PixelSource* pixels,
                                                   WindowHost* owner) = 0;
  // Modal: built from spec, opened(its host) runs first; returns when the layer closes it.
  virtual void RunDialog(const DialogSpec& spec, WindowEvents& events, const std::function<void(WindowHost&)>& opened,
                         WindowHost* owner) = 0;
  virtual std::optional<std::string> ChooseFile(const FileChooserSpec& spec, WindowHost* owner) = 0;
  virtual BoxAnswer ShowMessage(const MessageSpec& spec, WindowHost* owner) = 0;
  virtual void ShowTextBox(const TextBoxSpec& spec, WindowHost* owner) = 0;
  virtual void Beep() = 0;
  virtual void Post(std::function<void()> work) = 0;  // any thread: runs on the user-interface thread
  virtual bool OnUserThread() const = 0;
  virtual Point DesktopSize() const = 0;
  virtual bool ModalOpen() const = 0;  // a modal dialog of the program is up
};

}  // namespace vantor::ui
