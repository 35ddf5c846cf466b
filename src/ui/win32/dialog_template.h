#pragma once
// An in-memory dialog template without items: the frame, its title and the
// dialog font ("MS Sans Serif" 8 pt), from which the dialog manager takes
// the dialog units. The controls are placed in those units once it exists.

#include <string>
#include <vector>

#include "ui/win32/win32_api.h"

namespace vantor::ui {

class DialogTemplate {
 public:
  DialogTemplate(const std::wstring& title, int width, int height, DWORD style);
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Add(const std::wstring& text);
  std::vector<WORD> words_;  // from operator new: aligned as the dialog manager requires
};

constexpr DWORD kModalDialogStyle = DS_SETFONT | DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kPageStyle = DS_SETFONT | DS_CONTROL | DS_3DLOOK | WS_CHILD;

}  // namespace vantor::ui
