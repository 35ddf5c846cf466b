// Keys and the wheel, from the message loop to the layer before any control
// sees them: a key goes with the character it types and the control that
// has it; what the layer does not use is dispatched as usual.

#include "ui/win32/win32_window.h"

namespace vantor::ui {
namespace {

Key KeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_TAB: return Key::Tab;
    case VK_RETURN: return Key::Enter;
    case VK_ESCAPE: return Key::Escape;
    case VK_SPACE: return Key::Space;
    case VK_SHIFT: return Key::Shift;
    case VK_UP: return Key::Up;
    case VK_DOWN: return Key::Down;
    case VK_LEFT: return Key::Left;
    case VK_RIGHT: return Key::Right;
    case VK_PRIOR: return Key::PageUp;
    case VK_NEXT: return Key::PageDown;
    case VK_HOME: return Key::Home;
    case VK_END: return Key::End;
    default: return Key::Other;
  }
}

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP || message == WM_SYSKEYUP;
}

// The character a key-down has just been translated into, taken off the queue.
bool TakeCharacter(HWND hwnd, MSG* character) {
  return PeekMessageW(character, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE) ||
         PeekMessageW(character, hwnd, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE);
}

}  // namespace

bool Win32Window::PreTranslateKey(MSG& message) {
  if (!IsKeyMessage(message.message) || !events_ || dialog_) return false;
  KeyEvent key;
  key.key = KeyOf(message.wParam);
  key.shift = GetKeyState(VK_SHIFT) < 0;
  key.alt = (message.lParam & (1 << 29)) != 0;
  key.press = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  for (HWND at = message.hwnd; at && at != hwnd_ && !key.control; at = GetParent(at)) key.control = IdOf(at);
  MSG character{};
  bool typed = false;
  if (key.press) {
    TranslateMessage(&message);
    typed = TakeCharacter(message.hwnd, &character);
    if (typed && character.wParam >= 0x20 && character.wParam < 0x7F) key.text = static_cast<char>(character.wParam);
    if (typed && IsAccelerator(character, key.alt) && TranslateAcceleratorW(hwnd_, accelerators_, &character))
      return true;
  }
  if (events_->OnKey(key)) return true;
  DispatchMessageW(&message);
  if (typed) DispatchMessageW(&character);
  return true;
}

// Wheel messages go to the control with the focus; the layer wants them
// where the mouse is: over a scroll bar as a line, else over the window.
bool Win32Window::PreTranslateWheel(const MSG& message) {
  if (message.message != WM_MOUSEWHEEL || !events_ || dialog_) return false;
  POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
  const int delta = GET_WHEEL_DELTA_WPARAM(message.wParam);
  const HWND under = WindowFromPoint(at);
  if (const int id = IdOf(under); id && Find(id)->kind == ControlKind::ScrollBar) {
    if (delta != 0) Notify(id, ControlAction::Scrolled, 0, delta > 0 ? ScrollRequest::LineUp : ScrollRequest::LineDown);
    return true;
  }
  if (under != hwnd_) return false;
  ScreenToClient(hwnd_, &at);
  events_->OnMouse(MouseEvent{MouseAction::Wheel, Point{at.x, at.y}, false, delta});
  return true;
}

}  // namespace vantor::ui
