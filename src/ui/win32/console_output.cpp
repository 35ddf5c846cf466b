#include "ui/win32/console_output.h"

#include <cstdio>

#include "ui/win32/win32_api.h"

namespace vantor::ui {

// Handles given by the starter (a redirection, a pipe, Wine's terminal) are kept.
void UseParentConsole() {
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  if (output && output != INVALID_HANDLE_VALUE) return;
  if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
  std::freopen("CONOUT$", "w", stdout);
  std::freopen("CONOUT$", "w", stderr);
}

}  // namespace vantor::ui
