// The Windows API host's native controls: made by kind, addressed by id,
// their user actions reported to the layer (never the layer's own changes).
// Controls that sit on the window's picture show it: a group box keeps only
// its frame and caption (a window region), a button drawn by the window
// copies the picture under it.

#include <algorithm>

#include "ui/win32/wide_text.h"
#include "ui/win32/win32_window.h"

namespace vantor::ui {
namespace {

using namespace control_style;

constexpr int kComboListHeight = 160;  // the dropped list under a combo box, in pixels

struct Native {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle = 0;
};

bool TakesFocus(const ControlSpec& spec) {
  if (spec.style & (kNoFocus | kClickFocus)) return false;
  switch (spec.kind) {
    case ControlKind::GroupBox:
    case ControlKind::StaticText:
    case ControlKind::ProgressBar: return false;
    case ControlKind::RadioButton: return (spec.style & kGroupStart) != 0;
    default: return true;
  }
}

Native NativeOf(const ControlSpec& spec) {
  switch (spec.kind) {
    case ControlKind::Button:
      if (spec.style & kDrawnByWindow) return {L"BUTTON", BS_OWNERDRAW};
      return {L"BUTTON", static_cast<DWORD>((spec.style & kDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                                            (spec.style & kDoubleClicks ? BS_NOTIFY : 0))};
    case ControlKind::CheckBox:
      return {L"BUTTON", static_cast<DWORD>(BS_AUTOCHECKBOX | (spec.style & kPushLike ? BS_PUSHLIKE : 0) |
                                            (spec.style & kTextLeft ? BS_LEFTTEXT : 0))};
    case ControlKind::RadioButton:
      return {L"BUTTON", static_cast<DWORD>(BS_AUTORADIOBUTTON | (spec.style & kTextLeft ? BS_LEFTTEXT : 0))};
    case ControlKind::Edit:
      return {L"EDIT", static_cast<DWORD>(ES_AUTOHSCROLL | (spec.style & kDigitsOnly ? ES_NUMBER : 0)),
              WS_EX_CLIENTEDGE};
    case ControlKind::ComboBox: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL};
    case ControlKind::Trackbar:
      return {TRACKBAR_CLASSW, static_cast<DWORD>(TBS_HORZ | TBS_BOTTOM | (spec.style & kTicks ? TBS_AUTOTICKS : TBS_NOTICKS))};
    case ControlKind::Tab: return {WC_TABCONTROLW, 0};
    case ControlKind::ScrollBar: return {L"SCROLLBAR", static_cast<DWORD>(spec.style & kHorizontal ? SBS_HORZ : SBS_VERT)};
    case ControlKind::ProgressBar: return {PROGRESS_CLASSW, 0};
    case ControlKind::GroupBox: return {L"BUTTON", BS_GROUPBOX};
    case ControlKind::StaticText:
      return {L"STATIC", static_cast<DWORD>(spec.style & kWordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP)};
  }
  return {L"STATIC", 0};
}

std::optional<ScrollRequest> RequestOf(WORD code) {
  switch (code) {
    case SB_LINEUP: return ScrollRequest::LineUp;
    case SB_LINEDOWN: return ScrollRequest::LineDown;
    case SB_PAGEUP: return ScrollRequest::PageUp;
    case SB_PAGEDOWN: return ScrollRequest::PageDown;
    case SB_TOP: return ScrollRequest::Top;
    case SB_BOTTOM: return ScrollRequest::Bottom;
    case SB_THUMBTRACK: return ScrollRequest::Track;
    default: return std::nullopt;
  }
}

COLORREF ColourRef(Rgb c) { return RGB(c.r, c.g, c.b); }

SCROLLINFO ScrollInfo(UINT mask) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = mask;
  return info;
}

RECT ChildRect(HWND child) {
  RECT area;
  GetWindowRect(child, &area);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&area), 2);
  return area;
}

}  // namespace

RECT Win32Window::PixelsOf(const Rect& r, HWND parent) const {
  RECT rect{r.left, r.top, r.right, r.bottom};
  if (dialog_) MapDialogRect(parent, &rect);
  return rect;
}

HWND Win32Window::Make(const ControlSpec& spec, HWND parent, Control& control) {
  const Native native = NativeOf(spec);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | native.style;
  if (TakesFocus(spec)) style |= WS_TABSTOP;
  // A group of radio buttons runs to the next control that starts a group.
  if (spec.kind != ControlKind::RadioButton || (spec.style & kGroupStart)) style |= WS_GROUP;
  RECT rect = PixelsOf(spec.rect, parent);
  if (spec.kind == ControlKind::ComboBox) rect.bottom += kComboListHeight;
  const HWND hwnd = CreateWindowExW(native.exStyle, native.className, Wide(spec.text).c_str(), style, rect.left,
                                    rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)), GetModuleHandleW(nullptr),
                                    nullptr);
  if (!hwnd) return nullptr;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  control.hwnd = hwnd;
  control.kind = spec.kind;
  control.style = spec.style;
  control.colours = spec.colours;
  // A theme draws its own text colours: coloured controls keep the classic look.
  if (spec.colours) SetWindowTheme(hwnd, L"", L"");
  switch (spec.kind) {
    case ControlKind::Edit:
      if (spec.maxLength > 0) SendMessageW(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(spec.maxLength), 0);
      break;
    case ControlKind::ComboBox:
      for (const std::string& item : spec.items) SendMessageW(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
      break;
    case ControlKind::Tab:
      for (std::size_t i = 0; i < spec.items.size(); ++i) {
        std::wstring caption = Wide(spec.items[i]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(hwnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
      }
      break;
    case ControlKind::RadioButton:
      if ((spec.style & kGroupStart) || !radioGroup_) radioGroup_ = spec.id;
      control.group = radioGroup_;
      break;
    case ControlKind::GroupBox: FrameGroupBox(hwnd); break;
    default: break;
  }
  ShowWindow(hwnd, spec.style & kHidden ? SW_HIDE : SW_SHOWNA);
  return hwnd;
}

void Win32Window::CreateControl(const ControlSpec& spec) {
  Remove(spec.id);
  if (!hwnd_) return;
  Control control;
  if (Make(spec, hwnd_, control)) controls_[spec.id] = control;
}

void Win32Window::Remove(int id) {
  const auto found = controls_.find(id);
  if (found == controls_.end()) return;
  const Control control = found->second;
  controls_.erase(found);
  if (control.group == id) radioGroup_ = 0;
  if (IsWindow(control.hwnd)) DestroyWindow(control.hwnd);
  if (control.brush) DeleteObject(control.brush);
}

void Win32Window::DestroyControl(int id) { Remove(id); }

const Win32Window::Control* Win32Window::Find(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : &found->second;
}

int Win32Window::IdOf(HWND control) const {
  if (!control) return 0;
  for (const auto& [id, entry] : controls_)
    if (entry.hwnd == control) return id;
  return 0;
}

// ---- what the user does ----

void Win32Window::Command(HWND hwnd, WORD code) {
  const int id = IdOf(hwnd);
  const Control* control = Find(id);
  if (!control) return;
  switch (control->kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: {
      const bool checked = SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
      if (code == BN_DOUBLECLICKED && (control->style & kDoubleClicks)) {
        Notify(id, ControlAction::DoubleClicked);
        Notify(id, ControlAction::Clicked, checked);  // the double click's second click
      } else if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
        Notify(id, ControlAction::Clicked, checked);
      }
      break;
    }
    case ControlKind::Edit:
      if (code == EN_CHANGE) {
        DWORD end = 0;
        SendMessageW(hwnd, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
        Notify(id, ControlAction::Edited, static_cast<int>(end));
      } else if (code == EN_KILLFOCUS && !quiet_) {
        // Leaving counts only for a move to another control of this window,
        // known once the focus has arrived there.
        host_.Post([this, id, alive = std::weak_ptr<int>(alive_)] {
          if (!alive.lock() || !hwnd_) return;
          const HWND focus = GetFocus();
          if (focus && IsChild(hwnd_, focus) && Find(id)) Notify(id, ControlAction::FocusLost);
        });
      }
      break;
    case ControlKind::ComboBox:
      if (code == CBN_SELCHANGE) Notify(id, ControlAction::Changed, static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0)));
      break;
    default: break;
  }
}

void Win32Window::Scrolled(HWND hwnd, WORD code) {
  const int id = IdOf(hwnd);
  auto found = controls_.find(id);
  if (found == controls_.end()) return;
  Control& control = found->second;
  if (control.kind == ControlKind::Trackbar) {
    const int position = static_cast<int>(SendMessageW(hwnd, TBM_GETPOS, 0, 0));
    if (position == control.value) return;
    control.value = position;
    Notify(id, ControlAction::Changed, position);
    return;
  }
  const auto request = RequestOf(code);
  if (control.kind != ControlKind::ScrollBar || !request) return;
  SCROLLINFO info = ScrollInfo(SIF_POS | SIF_TRACKPOS);
  GetScrollInfo(hwnd, SB_CTL, &info);
  Notify(id, ControlAction::Scrolled, *request == ScrollRequest::Track ? info.nTrackPos : info.nPos, *request);
}

void Win32Window::NotifyFrom(const NMHDR& header) {
  const int id = IdOf(header.hwndFrom);
  const Control* control = Find(id);
  if (control && control->kind == ControlKind::Tab && header.code == TCN_SELCHANGE)
    Notify(id, ControlAction::Changed, static_cast<int>(SendMessageW(header.hwndFrom, TCM_GETCURSEL, 0, 0)));
}

// ---- colours and the picture under controls ----

HBRUSH Win32Window::Colours(HWND hwnd, HDC dc) {
  auto found = controls_.find(IdOf(hwnd));
  if (found == controls_.end()) return nullptr;
  Control& control = found->second;
  const std::optional<ControlColours>& colours = control.colours ? control.colours : windowColours_;
  if (!colours && !pixels_) return nullptr;  // a dialog's own look
  const Rgb text = colours ? colours->text : colour::kText;
  Rgb background = pixels_ && !windowColours_ ? colour::kBackground : Rgb{};
  if (colours && colours->background) background = *colours->background;
  else if (windowColours_ && windowColours_->background) background = *windowColours_->background;
  const bool disabled = !IsWindowEnabled(hwnd);
  SetTextColor(dc, ColourRef(disabled && colours && colours->disabledText ? *colours->disabledText : text));
  SetBkColor(dc, ColourRef(background));
  if (!control.brush) control.brush = CreateSolidBrush(ColourRef(background));
  return control.brush;
}

// A button the window draws: the picture under it is all it shows.
void Win32Window::DrawCanvasUnder(HWND hwnd, HDC dc) {
  if (!pixels_) return;
  const RECT area = ChildRect(hwnd);
  pixels_->ReadPixels([&](const std::uint32_t* pixels, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, -area.left, -area.top, width, height, 0, 0, 0, height, pixels, &info, DIB_RGB_COLORS);
  });
}

namespace {

// A group box's caption and frame: its text in the window's colours (the
// parent's WM_CTLCOLORSTATIC answer) on a caption band, and an etched frame.
struct GroupBoxLayout {
  RECT caption;
  int lineTop;
};

GroupBoxLayout LayoutOf(HWND box, HDC dc) {
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int length = GetWindowTextLengthW(box);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(box, text.data(), length + 1);
  SIZE extent{};
  GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
  const LONG width = length ? extent.cx + 4 : 0;
  return GroupBoxLayout{RECT{8, 0, 8 + width, metrics.tmHeight}, std::max(0, static_cast<int>(metrics.tmHeight) / 2 - 1)};
}

void PaintGroupBox(HWND box) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(box, &paint);
  const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
  auto brush = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(box), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(box)));
  if (!brush) {  // a dialog's own look
    brush = GetSysColorBrush(COLOR_BTNFACE);
    SetTextColor(dc, GetSysColor(IsWindowEnabled(box) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  }
  const GroupBoxLayout layout = LayoutOf(box, dc);
  RECT frame;
  GetClientRect(box, &frame);
  frame.top = layout.lineTop;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  if (layout.caption.right > layout.caption.left) {
    FillRect(dc, &layout.caption, brush);
    const int length = GetWindowTextLengthW(box);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(box, text.data(), length + 1);
    RECT line = layout.caption;
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), length, &line, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
  EndPaint(box, &paint);
}

LRESULT CALLBACK GroupBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto original = reinterpret_cast<WNDPROC>(GetPropW(box, L"VantorGroupBoxProc"));
  switch (message) {
    case WM_PAINT: PaintGroupBox(box); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_NCDESTROY: RemovePropW(box, L"VantorGroupBoxProc"); break;
    default: break;
  }
  return CallWindowProcW(original, box, message, wParam, lParam);
}

}  // namespace

// Only the frame and the caption belong to a group box: what lies inside
// is the window's (its picture, its clicks).
void Win32Window::FrameGroupBox(HWND box) {
  if (!GetPropW(box, L"VantorGroupBoxProc"))
    SetPropW(box, L"VantorGroupBoxProc",
             reinterpret_cast<HANDLE>(SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GroupBoxProc))));
  RECT client;
  GetClientRect(box, &client);
  HDC dc = GetDC(box);
  const HGDIOBJ old = SelectObject(dc, font_);
  const GroupBoxLayout layout = LayoutOf(box, dc);
  SelectObject(dc, old);
  ReleaseDC(box, dc);
  const int w = client.right, h = client.bottom, line = layout.lineTop;
  HRGN region = CreateRectRgnIndirect(&layout.caption);
  for (const RECT& edge : {RECT{0, line, w, line + 2}, RECT{0, line, 2, h}, RECT{w - 2, line, w, h}, RECT{0, h - 2, w, h}}) {
    HRGN part = CreateRectRgnIndirect(&edge);
    CombineRgn(region, region, part, RGN_OR);
    DeleteObject(part);
  }
  SetWindowRgn(box, region, TRUE);  // the window owns the region now
  InvalidateRect(box, nullptr, TRUE);
}

// ---- states ----

void Win32Window::SetText(int id, const std::string& text) {
  const Control* control = Find(id);
  if (!control) return;
  quiet_ = true;
  SetWindowTextW(control->hwnd, Wide(text).c_str());
  quiet_ = false;
  if (control->kind == ControlKind::GroupBox) FrameGroupBox(control->hwnd);
}

std::string Win32Window::Text(int id) const {
  const Control* control = Find(id);
  if (!control) return {};
  if (control->kind == ControlKind::ComboBox) {
    const LRESULT selected = SendMessageW(control->hwnd, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return {};
    std::wstring item(static_cast<std::size_t>(SendMessageW(control->hwnd, CB_GETLBTEXTLEN, selected, 0)) + 1, L'\0');
    const LRESULT length = SendMessageW(control->hwnd, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(item.data()));
    return Narrow(std::wstring_view(item.data(), length > 0 ? static_cast<std::size_t>(length) : 0));
  }
  const int length = GetWindowTextLengthW(control->hwnd);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(control->hwnd, text.data(), length + 1);
  return Narrow(std::wstring_view(text.data(), static_cast<std::size_t>(std::max(got, 0))));
}

// A radio button checked by the layer puts out the others of its group.
void Win32Window::SetChecked(int id, bool checked) {
  const Control* control = Find(id);
  if (!control) return;
  SendMessageW(control->hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (checked && control->kind == ControlKind::RadioButton) CheckInGroup(id);
}

void Win32Window::CheckInGroup(int id) {
  const int group = Find(id)->group;
  for (const auto& [other, control] : controls_)
    if (other != id && control.kind == ControlKind::RadioButton && control.group == group)
      SendMessageW(control.hwnd, BM_SETCHECK, BST_UNCHECKED, 0);
}

bool Win32Window::Checked(int id) const {
  const Control* control = Find(id);
  return control && SendMessageW(control->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Window::SetValue(int id, int value) {
  auto found = controls_.find(id);
  if (found == controls_.end()) return;
  Control& control = found->second;
  const HWND hwnd = control.hwnd;
  switch (control.kind) {
    case ControlKind::ProgressBar:
      SendMessageW(hwnd, PBM_SETPOS, static_cast<WPARAM>(value), 0);
      UpdateWindow(hwnd);  // shown at once: an export holds this thread while it steps
      break;
    case ControlKind::Trackbar:
      control.value = value;
      SendMessageW(hwnd, TBM_SETPOS, TRUE, value);
      break;
    case ControlKind::ScrollBar: {
      SCROLLINFO info = ScrollInfo(SIF_POS | SIF_DISABLENOSCROLL);
      info.nPos = value;
      SetScrollInfo(hwnd, SB_CTL, &info, TRUE);
      break;
    }
    case ControlKind::ComboBox: SendMessageW(hwnd, CB_SETCURSEL, static_cast<WPARAM>(value), 0); break;
    case ControlKind::Tab: SendMessageW(hwnd, TCM_SETCURSEL, static_cast<WPARAM>(value), 0); break;
    default: break;
  }
}

int Win32Window::Value(int id) const {
  const Control* control = Find(id);
  if (!control) return 0;
  const HWND hwnd = control->hwnd;
  switch (control->kind) {
    case ControlKind::ProgressBar: return static_cast<int>(SendMessageW(hwnd, PBM_GETPOS, 0, 0));
    case ControlKind::Trackbar: return static_cast<int>(SendMessageW(hwnd, TBM_GETPOS, 0, 0));
    case ControlKind::ScrollBar: {
      SCROLLINFO info = ScrollInfo(SIF_POS);
      GetScrollInfo(hwnd, SB_CTL, &info);
      return info.nPos;
    }
    case ControlKind::ComboBox: return static_cast<int>(SendMessageW(hwnd, CB_GETCURSEL, 0, 0));
    case ControlKind::Tab: return static_cast<int>(SendMessageW(hwnd, TCM_GETCURSEL, 0, 0));
    default: return 0;
  }
}

// A scroll bar's page is part of its range: its top position is still maximum.
void Win32Window::SetRange(int id, int minimum, int maximum, int page) {
  const Control* control = Find(id);
  if (!control) return;
  const HWND hwnd = control->hwnd;
  switch (control->kind) {
    case ControlKind::ProgressBar: SendMessageW(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(minimum), maximum); break;
    case ControlKind::Trackbar:
      SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, minimum);
      SendMessageW(hwnd, TBM_SETRANGEMAX, TRUE, maximum);
      SendMessageW(hwnd, TBM_SETPAGESIZE, 0, page);
      SendMessageW(hwnd, TBM_SETTICFREQ, static_cast<WPARAM>(std::max(1, (maximum - minimum) / 10)), 0);
      break;
    case ControlKind::ScrollBar: {
      SCROLLINFO info = ScrollInfo(SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL);
      info.nMin = minimum;
      info.nMax = maximum + std::max(page, 1) - 1;
      info.nPage = static_cast<UINT>(std::max(page, 1));
      SetScrollInfo(hwnd, SB_CTL, &info, TRUE);
      break;
    }
    default: break;
  }
}

void Win32Window::SetItemText(int id, int item, const std::string& text) {
  const Control* control = Find(id);
  if (!control || control->kind != ControlKind::ComboBox) return;
  const LRESULT selected = SendMessageW(control->hwnd, CB_GETCURSEL, 0, 0);
  SendMessageW(control->hwnd, CB_DELETESTRING, static_cast<WPARAM>(item), 0);
  SendMessageW(control->hwnd, CB_INSERTSTRING, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(Wide(text).c_str()));
  if (selected != CB_ERR) SendMessageW(control->hwnd, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void Win32Window::SetEnabled(int id, bool enabled) {
  if (const Control* control = Find(id)) {
    EnableWindow(control->hwnd, enabled);
    InvalidateRect(control->hwnd, nullptr, TRUE);
  }
}

void Win32Window::SetShown(int id, bool shown) {
  if (const Control* control = Find(id)) ShowWindow(control->hwnd, shown ? SW_SHOWNA : SW_HIDE);
}

void Win32Window::Focus(int id, bool byKey) {
  const Control* control = id == 0 ? nullptr : Find(id);
  const HWND target = control ? control->hwnd : (id == 0 ? hwnd_ : nullptr);
  if (!target) return;
  quiet_ = true;  // an edit the layer moves the focus from has not been left by the user
  SetFocus(target);
  quiet_ = false;
  if (!byKey) return;
  SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  if (control && control->kind == ControlKind::Edit) SendMessageW(target, EM_SETSEL, 0, -1);
}

int Win32Window::FocusedControl() const {
  const HWND focus = GetFocus();
  if (!focus || !hwnd_) return -1;
  if (focus == hwnd_) return 0;
  if (!IsChild(hwnd_, focus)) return -1;
  for (HWND at = focus; at && at != hwnd_; at = GetParent(at))
    if (const int id = IdOf(at)) return id;
  return 0;
}

void Win32Window::SelectText(int id, int from, int to) {
  const Control* control = Find(id);
  if (control && control->kind == ControlKind::Edit) SendMessageW(control->hwnd, EM_SETSEL, static_cast<WPARAM>(from), to);
}

}  // namespace vantor::ui
