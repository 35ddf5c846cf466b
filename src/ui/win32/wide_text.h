#pragma once
// The layer's texts are UTF-8; the Windows API takes UTF-16.

#include <string>
#include <string_view>

namespace vantor::ui {

std::wstring Wide(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace vantor::ui
