// The Windows API host's menu bar: popups built from the layer's items, item
// states by command, a submenu listed anew as it opens, and the accelerator
// table ("?" and "/" for About, with or without Alt as the program says).

#include <algorithm>

#include "ui/win32/wide_text.h"
#include "ui/win32/win32_window.h"

namespace vantor::ui {

void Win32Window::AddItems(HMENU menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    const std::wstring text = Wide(item.text);
    const UINT state = item.enabled ? 0 : MF_GRAYED;
    if (item.IsSubmenu()) {
      const HMENU sub = CreatePopupMenu();
      AddItems(sub, item.items);
      AppendMenuW(menu, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub), text.c_str());
      menus_[item.id] = MenuPlace{menu, sub, static_cast<UINT>(GetMenuItemCount(menu) - 1)};
      if (item.refreshOnOpen) refreshedMenus_.push_back(item.id);
    } else if (item.text.empty()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu, MF_STRING | state | (item.checked ? MF_CHECKED : 0), static_cast<UINT_PTR>(item.id), text.c_str());
    }
  }
}

void Win32Window::SetMenu(const std::vector<MenuItem>& bar, const std::vector<Accelerator>& keys) {
  if (!hwnd_ || dialog_) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  const HMENU menuBar = CreateMenu();
  AddItems(menuBar, bar);
  ::SetMenu(hwnd_, menuBar);
  // The client area keeps its size under the bar.
  RECT frame;
  GetWindowRect(hwnd_, &frame);
  RECT now;
  GetClientRect(hwnd_, &now);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + client.bottom - now.bottom,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  keys_ = keys;
  std::vector<ACCEL> table;
  for (const Accelerator& key : keys)
    table.push_back(ACCEL{static_cast<BYTE>(FNOINVERT | (key.alt ? FALT : 0)), static_cast<WORD>(key.key),
                          static_cast<WORD>(key.command)});
  if (accelerators_) DestroyAcceleratorTable(accelerators_);
  accelerators_ = table.empty() ? nullptr : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

// A character accelerator holds with Alt exactly when it was made with it.
bool Win32Window::IsAccelerator(const MSG& character, bool alt) const {
  if (!accelerators_) return false;
  return std::any_of(keys_.begin(), keys_.end(), [&](const Accelerator& key) {
    return static_cast<WPARAM>(static_cast<unsigned char>(key.key)) == character.wParam && key.alt == alt;
  });
}

void Win32Window::ForgetMenusIn(HMENU menu) {
  for (auto it = menus_.begin(); it != menus_.end();) {
    if (it->second.parent == menu) {
      ForgetMenusIn(it->second.menu);
      it = menus_.erase(it);
    } else {
      ++it;
    }
  }
}

void Win32Window::SetMenuItems(int submenu, const std::vector<MenuItem>& items) {
  const auto found = menus_.find(submenu);
  if (found == menus_.end()) return;
  const HMENU menu = found->second.menu;
  ForgetMenusIn(menu);
  while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
  AddItems(menu, items);
}

// By command: the search goes down into the popups.
void Win32Window::SetMenuItemState(const MenuItem& item) {
  const HMENU bar = hwnd_ ? GetMenu(hwnd_) : nullptr;
  if (!bar) return;
  if (const auto place = menus_.find(item.id); place != menus_.end()) {
    EnableMenuItem(place->second.parent, place->second.position, MF_BYPOSITION | (item.enabled ? MF_ENABLED : MF_GRAYED));
  } else {
    std::wstring text = Wide(item.text);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_STATE;
    info.dwTypeData = text.data();
    info.fState = (item.enabled ? MFS_ENABLED : MFS_GRAYED) | (item.checked ? MFS_CHECKED : MFS_UNCHECKED);
    SetMenuItemInfoW(bar, static_cast<UINT>(item.id), FALSE, &info);
  }
  DrawMenuBar(hwnd_);
}

void Win32Window::MenuOpening(HMENU menu) {
  const std::vector<int> refreshed = refreshedMenus_;  // a refresh may list submenus of its own
  for (int id : refreshed) {
    const auto place = menus_.find(id);
    if (place != menus_.end() && place->second.menu == menu && events_) events_->OnMenuOpening(id);
  }
}

}  // namespace vantor::ui
