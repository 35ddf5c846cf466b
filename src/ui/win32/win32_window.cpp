#include "ui/win32/win32_window.h"

#include <algorithm>

#include "ui/win32/wide_text.h"

namespace vantor::ui {
namespace {

constexpr wchar_t kWindowProperty[] = L"VantorWindow";

DWORD StyleOf(WindowKind kind) {
  switch (kind) {
    case WindowKind::Main: return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    case WindowKind::Popup: return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    case WindowKind::Tool: return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  }
  return WS_OVERLAPPED;
}

const wchar_t* ClassOf(const Win32Host& host, WindowKind kind) {
  switch (kind) {
    case WindowKind::Main: return host.Options().mainClass.c_str();
    case WindowKind::Popup: return L"QTRGRAPH";
    case WindowKind::Tool: return L"VANTORTOOL";
  }
  return L"VANTORTOOL";
}

// Sizes the frame so that the client area is width x height, menu bar included.
void FitClient(HWND hwnd, int width, int height) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    RECT client, frame;
    GetClientRect(hwnd, &client);
    GetWindowRect(hwnd, &frame);
    const int dx = width - client.right, dy = height - client.bottom;
    if (dx == 0 && dy == 0) return;
    SetWindowPos(hwnd, nullptr, 0, 0, frame.right - frame.left + dx, frame.bottom - frame.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

}  // namespace

Win32Window::Win32Window(Win32Host& host, const WindowSpec& spec, WindowEvents& events, PixelSource* pixels,
                         HWND owner)
    : host_(host), events_(&events), pixels_(pixels), kind_(spec.kind), windowColours_(spec.colours) {
  const DWORD style = StyleOf(spec.kind);
  const DWORD exStyle = spec.kind == WindowKind::Tool ? WS_EX_TOOLWINDOW : 0;
  RECT frame{0, 0, spec.width, spec.height};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  hwnd_ = CreateWindowExW(exStyle, ClassOf(host, spec.kind), Wide(spec.title).c_str(), style, CW_USEDEFAULT,
                          CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top, owner, nullptr,
                          GetModuleHandleW(nullptr), this);
  font_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (hwnd_) FitClient(hwnd_, spec.width, spec.height);
}

Win32Window::Win32Window(Win32Host& host, WindowEvents& events) : host_(host), events_(&events), dialog_(true) {}

void Win32Window::Attach(HWND dialog) {
  hwnd_ = dialog;
  SetPropW(hwnd_, kWindowProperty, this);
  font_ = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
}

// The handle lets go of this object first: nothing reaches it from now on.
Win32Window::~Win32Window() {
  events_ = nullptr;
  for (auto& [id, control] : controls_)
    if (control.brush) DeleteObject(control.brush);
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  if (!hwnd_) return;
  RemovePropW(hwnd_, kWindowProperty);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  if (!dialog_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

Win32Window* Win32Window::Of(HWND top) {
  return top ? static_cast<Win32Window*>(GetPropW(top, kWindowProperty)) : nullptr;
}

LRESULT CALLBACK Win32Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* window = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    window->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    SetPropW(hwnd, kWindowProperty, window);
  }
  auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!window || !window->events_) {
    if (message == WM_CLOSE) return 0;  // its layer window has gone: only the layer ends it
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return window->Message(message, wParam, lParam);
}

LRESULT Win32Window::Message(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (Common(message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_PAINT: Paint(); return 0;
    case WM_ERASEBKGND: return 1;  // the picture covers it all
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&track);
        Mouse(MouseAction::Enter, lParam, false);
      }
      Mouse(MouseAction::Move, lParam, (wParam & MK_LBUTTON) != 0);
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      Mouse(MouseAction::Leave, 0, false);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      SetFocus(hwnd_);  // a click gives the window the keys, as the close look of a control does
      SetCapture(hwnd_);
      Mouse(MouseAction::Press, lParam, message == WM_LBUTTONDOWN);
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (GetCapture() == hwnd_) ReleaseCapture();
      Mouse(MouseAction::Release, lParam, message == WM_LBUTTONUP);
      return 0;
    case WM_LBUTTONDBLCLK:
      Mouse(MouseAction::DoubleClick, lParam, true);
      return 0;
    case WM_INITMENUPOPUP: MenuOpening(reinterpret_cast<HMENU>(wParam)); return 0;
    case WM_CLOSE:
      if (CloseRequested()) {
        if (kind_ == WindowKind::Main)
          DestroyWindow(hwnd_);
        else
          ShowWindow(hwnd_, SW_HIDE);
      }
      return 0;
    case WM_DESTROY:
      if (kind_ == WindowKind::Main) PostQuitMessage(0);
      return 0;
    case WM_NCDESTROY:
      RemovePropW(hwnd_, kWindowProperty);
      hwnd_ = nullptr;
      return 0;
    default: return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

// Messages of the controls and timers, for windows and dialogs alike.
bool Win32Window::Common(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) {
        Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      } else if (!dialog_ && events_) {
        events_->OnCommand(LOWORD(wParam));  // a menu item or an accelerator
      }
      *result = 0;
      return true;
    case WM_NOTIFY: NotifyFrom(*reinterpret_cast<const NMHDR*>(lParam)); *result = 0; return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (!lParam) return false;
      Scrolled(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
      *result = 0;
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (HBRUSH brush = Colours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam))) {
        *result = reinterpret_cast<LRESULT>(brush);
        return true;
      }
      return false;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      DrawCanvasUnder(item->hwndItem, item->hDC);
      *result = TRUE;
      return true;
    }
    case WM_TIMER: {
      const int id = static_cast<int>(wParam);
      const auto found = timers_.find(id);
      if (found == timers_.end()) return false;
      if (found->second) {
        KillTimer(hwnd_, wParam);
        timers_.erase(found);
      }
      if (events_) events_->OnTimer(id);
      *result = 0;
      return true;
    }
    default: return false;
  }
}

// ---- the picture ----

// Controls that show the picture under them are drawn again over a change of it.
void Win32Window::Paint() {
  HRGN changed = CreateRectRgn(0, 0, 0, 0);
  GetUpdateRgn(hwnd_, changed, FALSE);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(hwnd_, &paint);
  if (pixels_) {
    pixels_->ReadPixels([dc](const std::uint32_t* pixels, int width, int height) {
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof info.bmiHeader;
      info.bmiHeader.biWidth = width;
      info.bmiHeader.biHeight = -height;  // top row first
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      // The whole picture through the paint's clipping: only the changed areas reach the screen.
      SetDIBitsToDevice(dc, 0, 0, width, height, 0, 0, 0, height, pixels, &info, DIB_RGB_COLORS);
    });
  }
  EndPaint(hwnd_, &paint);
  for (const auto& [id, control] : controls_) {
    if (!(control.style & control_style::kDrawnByWindow)) continue;
    RECT area;
    GetWindowRect(control.hwnd, &area);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&area), 2);
    if (RectInRegion(changed, &area)) InvalidateRect(control.hwnd, nullptr, FALSE);
  }
  DeleteObject(changed);
}

// Any thread: the window's own thread paints it when its queue is next empty.
void Win32Window::Invalidate(const Rect& area) {
  if (!hwnd_) return;
  const RECT rect{area.left, area.top, area.right, area.bottom};
  InvalidateRect(hwnd_, &rect, FALSE);
}

void Win32Window::PresentNow(const Rect& area) {
  Invalidate(area);
  if (hwnd_) UpdateWindow(hwnd_);
}

// ---- events ----

void Win32Window::Mouse(MouseAction action, LPARAM at, bool left, int wheel) {
  if (events_) events_->OnMouse(MouseEvent{action, Point{GET_X_LPARAM(at), GET_Y_LPARAM(at)}, left, wheel});
}

bool Win32Window::CloseRequested() { return !events_ || events_->OnCloseRequest(); }

void Win32Window::Notify(int id, ControlAction action, int value, ScrollRequest scroll) {
  if (events_ && !quiet_) events_->OnControl(ControlEvent{id, action, value, scroll});
}

// ---- the window ----

void Win32Window::Show() {
  if (hwnd_) ShowWindow(hwnd_, SW_SHOW);
}

void Win32Window::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void Win32Window::Close() {
  if (!hwnd_) return;
  if (dialog_)
    EndDialog(hwnd_, IDOK);
  else
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

Point Win32Window::Position() const {
  RECT frame{};
  if (hwnd_) GetWindowRect(hwnd_, &frame);
  return Point{frame.left, frame.top};
}

void Win32Window::Move(Point at) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Win32Window::Minimised() const { return hwnd_ && IsIconic(hwnd_); }

void Win32Window::Activate() {
  if (!hwnd_) return;
  SetActiveWindow(hwnd_);
  SetForegroundWindow(hwnd_);
}

bool Win32Window::Active() const { return hwnd_ && GetActiveWindow() == hwnd_; }

// ---- timers ----

void Win32Window::StartTimer(int id, int milliseconds, bool once) {
  if (!hwnd_) return;
  timers_[id] = once;
  SetTimer(hwnd_, static_cast<UINT_PTR>(id), static_cast<UINT>(std::max(milliseconds, USER_TIMER_MINIMUM)), nullptr);
}

void Win32Window::StopTimer(int id) {
  if (timers_.erase(id) && hwnd_) KillTimer(hwnd_, static_cast<UINT_PTR>(id));
}

}  // namespace vantor::ui
