#pragma once
// printf-style formatting into a std::string for the displays' texts.

#include <cstdio>
#include <string>

namespace vantor::ui {

template <typename... Args>
std::string FormatText(const char* format, Args... args) {
  char text[128];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

}  // namespace vantor::ui
