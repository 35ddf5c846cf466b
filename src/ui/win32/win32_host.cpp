#include "ui/win32/win32_host.h"

#include "ui/win32/win32_window.h"

namespace vantor::ui {
namespace {

constexpr int kProgramIcon = 146;
constexpr UINT kWorkMessage = WM_APP + 1;
constexpr wchar_t kWorkClass[] = L"VANTORWORK";

LRESULT CALLBACK WorkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kWorkMessage) {
    if (auto* host = reinterpret_cast<Win32Host*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) host->RunPosted();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterWindowClass(const wchar_t* name, Rgb background, HICON icon, HICON smallIcon) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = Win32Window::WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hIcon = icon;
  wc.hIconSm = smallIcon;
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = CreateSolidBrush(RGB(background.r, background.g, background.b));
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, size,
                                       size, LR_DEFAULTCOLOR));
}

}  // namespace

Win32Host::Win32Host(Win32HostOptions options) : options_(std::move(options)), userThread_(GetCurrentThreadId()) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  largeIcon_ = LoadProgramIcon(GetSystemMetrics(SM_CXICON));
  smallIcon_ = LoadProgramIcon(GetSystemMetrics(SM_CXSMICON));
  RegisterClasses();
  workWindow_ = CreateWindowExW(0, kWorkClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr),
                                nullptr);
  SetWindowLongPtrW(static_cast<HWND>(workWindow_), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Host::~Win32Host() {
  SetWindowLongPtrW(static_cast<HWND>(workWindow_), GWLP_USERDATA, 0);
  DestroyWindow(static_cast<HWND>(workWindow_));
  // A class's background brush and the icons outlive the classes unless let go here.
  for (const wchar_t* name : {options_.mainClass.c_str(), L"QTRGRAPH", L"VANTORTOOL", kWorkClass}) {
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    const bool known = GetClassInfoExW(GetModuleHandleW(nullptr), name, &info) != 0;
    UnregisterClassW(name, GetModuleHandleW(nullptr));
    if (known && info.hbrBackground) DeleteObject(info.hbrBackground);
  }
  if (largeIcon_) DestroyIcon(static_cast<HICON>(largeIcon_));
  if (smallIcon_) DestroyIcon(static_cast<HICON>(smallIcon_));
}

// The main window's class as the program names it; the graph's and the
// tool windows' on the displays' background.
void Win32Host::RegisterClasses() {
  const HICON large = static_cast<HICON>(largeIcon_);
  RegisterWindowClass(options_.mainClass.c_str(), options_.mainBackground, large, nullptr);
  RegisterWindowClass(L"QTRGRAPH", colour::kBackground, large, static_cast<HICON>(smallIcon_));
  RegisterWindowClass(L"VANTORTOOL", colour::kBackground, large, nullptr);
  WNDCLASSEXW work{};
  work.cbSize = sizeof work;
  work.lpfnWndProc = WorkProc;
  work.hInstance = GetModuleHandleW(nullptr);
  work.lpszClassName = kWorkClass;
  RegisterClassExW(&work);
}

// Keys and the wheel go to the layer before the controls see them; the
// rest is translated and dispatched as usual.
int Win32Host::Run() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Deliver(message);
  return static_cast<int>(message.wParam);
}

void Win32Host::Deliver(MSG& message) {
  const HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (Win32Window* window = Win32Window::Of(top)) {
    if (window->PreTranslateKey(message) || window->PreTranslateWheel(message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Win32Host::RunPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Deliver(message);
  }
}

void Win32Host::Post(std::function<void()> work) {
  {
    std::lock_guard<std::mutex> lock(workMutex_);
    work_.push_back(std::move(work));
  }
  PostMessageW(static_cast<HWND>(workWindow_), kWorkMessage, 0, 0);
}

// Work posted by the work itself waits for its own message.
void Win32Host::RunPosted() {
  std::deque<std::function<void()>> now;
  {
    std::lock_guard<std::mutex> lock(workMutex_);
    now.swap(work_);
  }
  for (auto& work : now) work();
}

bool Win32Host::OnUserThread() const { return GetCurrentThreadId() == userThread_; }

Point Win32Host::DesktopSize() const { return Point{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// The exclamation sound: the knock alert's, and the refusal of a typed character.
void Win32Host::Beep() { MessageBeep(MB_ICONEXCLAMATION); }

std::unique_ptr<WindowHost> Win32Host::CreateWindow(const WindowSpec& spec, WindowEvents& events, PixelSource* pixels,
                                                    WindowHost* owner) {
  const HWND ownerHandle = owner ? static_cast<Win32Window*>(owner)->Handle() : nullptr;
  return std::make_unique<Win32Window>(*this, spec, events, pixels, ownerHandle);
}

}  // namespace vantor::ui
