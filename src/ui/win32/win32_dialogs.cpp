// Modal dialogs of the Windows API host: an in-memory template for the frame
// and the dialog font, the layer's controls placed in its dialog units once
// the dialog manager has made it, pages as child dialogs over the tab
// control, and the small boxes with the program's icon (About, Help).

#include "ui/win32/dialog_template.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/win32_window.h"

namespace vantor::ui {
namespace {

constexpr int kIconSize = 64;

struct DialogStart {
  Win32Window* window;
  const DialogSpec* spec;
  const std::function<void(WindowHost&)>* opened;
};

bool IsColourMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// A dialog procedure's answer: colour messages return the brush itself.
INT_PTR Answer(HWND dialog, UINT message, LRESULT result) {
  if (IsColourMessage(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

void CentreOver(HWND dialog, HWND owner) {
  RECT box, over;
  GetWindowRect(dialog, &box);
  if (owner && IsWindowVisible(owner))
    GetWindowRect(owner, &over);
  else
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
  const int width = box.right - box.left, height = box.bottom - box.top;
  SetWindowPos(dialog, nullptr, (over.left + over.right - width) / 2, (over.top + over.bottom - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND OwnerHandle(WindowHost* owner) { return owner ? static_cast<Win32Window*>(owner)->Handle() : nullptr; }

INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(page, DWLP_USER, lParam);
    return FALSE;
  }
  auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(page, DWLP_USER));
  if (!window) return FALSE;
  LRESULT result = 0;
  return window->PageMessage(message, wParam, lParam, &result) ? Answer(page, message, result) : FALSE;
}

// ---- the text box ----

struct TextBoxStart {
  const TextBoxSpec* spec;
  HICON icon;
  HBRUSH background;
  HFONT font;
};

void PaintTextBox(HWND box, const TextBoxStart& start) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(box, &paint);
  if (start.icon) DrawIconEx(dc, 20, 20, start.icon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
  const HGDIOBJ old = SelectObject(dc, start.font);
  SetTextColor(dc, RGB(240, 240, 240));
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT);
  for (const TextBoxSpec::Line& line : start.spec->lines) {
    const std::wstring text = Wide(line.text);
    TextOutW(dc, line.x, line.y, text.c_str(), static_cast<int>(text.size()));
  }
  SelectObject(dc, old);
  EndPaint(box, &paint);
}

INT_PTR CALLBACK TextBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* start = reinterpret_cast<TextBoxStart*>(GetWindowLongPtrW(box, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      start = reinterpret_cast<TextBoxStart*>(lParam);
      SetWindowLongPtrW(box, DWLP_USER, lParam);
      RECT frame{0, 0, start->spec->width, start->spec->height};
      AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(box, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongPtrW(box, GWL_EXSTYLE)));
      SetWindowPos(box, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER);
      CentreOver(box, GetWindow(box, GW_OWNER));
      const HWND ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                      start->spec->width / 2 - 40, start->spec->height - 40, 80, 26, box,
                                      reinterpret_cast<HMENU>(IDOK), GetModuleHandleW(nullptr), nullptr);
      SendMessageW(ok, WM_SETFONT, SendMessageW(box, WM_GETFONT, 0, 0), FALSE);
      SetFocus(ok);
      return FALSE;
    }
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(start->background);
    case WM_PAINT: PaintTextBox(box, *start); return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(box, LOWORD(wParam));
      return TRUE;
    case WM_CLOSE: EndDialog(box, IDCANCEL); return TRUE;
    default: return FALSE;
  }
}

}  // namespace

// ---- the layer's dialogs ----

void Win32Host::RunDialog(const DialogSpec& spec, WindowEvents& events, const std::function<void(WindowHost&)>& opened,
                          WindowHost* owner) {
  ModalScope modal(*this);
  Win32Window window(*this, events);
  DialogStart start{&window, &spec, &opened};
  const DialogTemplate frame(Wide(spec.title), spec.width, spec.height, kModalDialogStyle);
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), frame.Get(), OwnerHandle(owner), Win32Window::DialogProc,
                          reinterpret_cast<LPARAM>(&start));
}

// The close box and Escape (without a control of its own for them) ask the
// layer; Enter without a default button does nothing.
INT_PTR CALLBACK Win32Window::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    const auto* start = reinterpret_cast<const DialogStart*>(lParam);
    Win32Window& window = *start->window;
    window.Attach(dialog);
    for (const ControlSpec& control : start->spec->controls) window.CreateControl(control);
    CentreOver(dialog, GetWindow(dialog, GW_OWNER));
    if (*start->opened) (*start->opened)(window);
    if (!GetFocus() || !IsChild(dialog, GetFocus())) SetFocus(GetNextDlgTabItem(dialog, nullptr, FALSE));
    return FALSE;
  }
  Win32Window* window = Of(dialog);
  if (!window || !window->events_) return FALSE;
  const bool unbound = message == WM_COMMAND && lParam == 0 && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK);
  if (message == WM_CLOSE || (unbound && LOWORD(wParam) == IDCANCEL)) {
    if (window->CloseRequested()) EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  if (unbound) return TRUE;
  LRESULT result = 0;
  return window->Common(message, wParam, lParam, &result) ? Answer(dialog, message, result) : FALSE;
}

bool Win32Window::PageMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return Common(message, wParam, lParam, result);
}

void Win32Window::ClearPage() {
  for (auto it = controls_.begin(); it != controls_.end();) {
    if (it->second.onPage) {
      if (it->second.brush) DeleteObject(it->second.brush);
      if (it->second.group == radioGroup_) radioGroup_ = 0;
      it = controls_.erase(it);
    } else {
      ++it;
    }
  }
  if (page_) DestroyWindow(page_);  // with its controls
  page_ = nullptr;
}

// The page: a child dialog in the same font, so its controls' dialog units
// are the dialog's; placed in pixels over the tab control.
void Win32Window::ShowPage(int tab, Point corner, Point shrink, const std::vector<ControlSpec>& controls) {
  const Control* tabs = Find(tab);
  if (!tabs || !hwnd_) return;
  ClearPage();
  const DialogTemplate frame(L"", 0, 0, kPageStyle);
  page_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), frame.Get(), hwnd_, PageProc,
                                     reinterpret_cast<LPARAM>(this));
  if (!page_) return;
  EnableThemeDialogTexture(page_, ETDT_ENABLETAB);
  RECT area;
  GetWindowRect(tabs->hwnd, &area);
  SetWindowPos(page_, HWND_TOP, corner.x, corner.y, area.right - area.left - shrink.x, area.bottom - area.top - shrink.y,
               SWP_NOACTIVATE);
  for (const ControlSpec& spec : controls) {
    Remove(spec.id);
    Control control;
    control.onPage = true;
    if (Make(spec, page_, control)) controls_[spec.id] = control;
  }
  ShowWindow(page_, SW_SHOWNA);
}

void Win32Host::ShowTextBox(const TextBoxSpec& spec, WindowHost* owner) {
  ModalScope modal(*this);
  HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(146), IMAGE_ICON, kIconSize,
                                             kIconSize, LR_DEFAULTCOLOR));
  TextBoxStart start{&spec, icon, CreateSolidBrush(RGB(20, 20, 20)),
                     CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"Arial")};
  const DialogTemplate frame(Wide(spec.title), 100, 60, kModalDialogStyle);
  DialogBoxIndirectParamW(GetModuleHandleW(nullptr), frame.Get(), OwnerHandle(owner), TextBoxProc,
                          reinterpret_cast<LPARAM>(&start));
  DeleteObject(start.font);
  DeleteObject(start.background);
  if (icon) DestroyIcon(icon);
}

}  // namespace vantor::ui
