// The common file dialogs and the message boxes of the Windows API host.

#include <vector>

#include "ui/win32/wide_text.h"
#include "ui/win32/win32_window.h"

namespace vantor::ui {
namespace {

constexpr DWORD kPathCharacters = 32768;

HWND OwnerOf(WindowHost* owner) { return owner ? static_cast<Win32Window*>(owner)->Handle() : nullptr; }

// "Label\0pattern\0...\0\0", as the dialogs take their filters.
std::wstring FilterList(const std::vector<FileFilter>& filters) {
  std::wstring list;
  for (const FileFilter& filter : filters) {
    list += Wide(filter.label);
    list.push_back(L'\0');
    list += Wide(filter.pattern);
    list.push_back(L'\0');
  }
  list.push_back(L'\0');
  return list;
}

}  // namespace

// A file to write need not exist and is not asked about (the caller asks when it must).
std::optional<std::string> Win32Host::ChooseFile(const FileChooserSpec& spec, WindowHost* owner) {
  const std::wstring filters = FilterList(spec.filters);
  const std::wstring title = Wide(spec.title);
  const std::wstring directory = Wide(spec.directory);
  const std::wstring suffix = Wide(spec.defaultSuffix);
  std::vector<wchar_t> path(kPathCharacters, L'\0');
  const std::wstring name = Wide(spec.name);
  name.copy(path.data(), std::min<std::size_t>(name.size(), kPathCharacters - 1));

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = OwnerOf(owner);
  dialog.lpstrFilter = spec.filters.empty() ? nullptr : filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = kPathCharacters;
  dialog.lpstrInitialDir = directory.empty() ? nullptr : directory.c_str();
  dialog.lpstrTitle = title.c_str();
  dialog.lpstrDefExt = suffix.empty() ? nullptr : suffix.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | (spec.save ? 0 : OFN_FILEMUSTEXIST);
  ModalScope modal(*this);
  const BOOL chosen = spec.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
  if (!chosen) return std::nullopt;
  return Narrow(path.data());
}

// Shown topmost, as every box of the programs is.
BoxAnswer Win32Host::ShowMessage(const MessageSpec& spec, WindowHost* owner) {
  UINT style = MB_TOPMOST | MB_SETFOREGROUND;
  switch (spec.icon) {
    case BoxIcon::Information: style |= MB_ICONINFORMATION; break;
    case BoxIcon::Question: style |= MB_ICONQUESTION; break;
    case BoxIcon::Error: style |= MB_ICONERROR; break;
  }
  switch (spec.buttons) {
    case BoxButtons::Ok: style |= MB_OK; break;
    case BoxButtons::YesNo: style |= MB_YESNO; break;
    case BoxButtons::YesNoCancel: style |= MB_YESNOCANCEL; break;
  }
  ModalScope modal(*this);
  switch (MessageBoxW(OwnerOf(owner), Wide(spec.text).c_str(), Wide(spec.caption).c_str(), style)) {
    case IDYES: return BoxAnswer::Yes;
    case IDNO: return BoxAnswer::No;
    case IDCANCEL: return BoxAnswer::Cancel;
    default: return spec.buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Cancel;
  }
}

}  // namespace vantor::ui
