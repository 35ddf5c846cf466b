#include "ui/win32/dialog_template.h"

namespace vantor::ui {
namespace {

constexpr WORD kFontPoints = 8;
constexpr wchar_t kFontFace[] = L"MS Sans Serif";

WORD Low(DWORD value) { return static_cast<WORD>(value & 0xFFFF); }
WORD High(DWORD value) { return static_cast<WORD>(value >> 16); }

}  // namespace

DialogTemplate::DialogTemplate(const std::wstring& title, int width, int height, DWORD style) {
  // DLGTEMPLATE: style, extended style, item count, x, y, cx, cy; then menu,
  // class, title and, with DS_SETFONT, the point size and the face.
  words_ = {Low(style), High(style), 0, 0, 0, 0, 0, static_cast<WORD>(width), static_cast<WORD>(height), 0, 0};
  Add(title);
  words_.push_back(kFontPoints);
  Add(kFontFace);
}

void DialogTemplate::Add(const std::wstring& text) {
  words_.insert(words_.end(), text.begin(), text.end());
  words_.push_back(0);
}

}  // namespace vantor::ui
