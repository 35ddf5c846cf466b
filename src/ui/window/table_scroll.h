#pragma once
// The moves of the Analysis table, as its keys, the graph window's keys,
// the wheel and both scroll bars ask for them.

#include <optional>

#include "ui/window/window_host.h"

namespace vantor::ui {

enum class TableScroll { LineUp, LineDown, PageUp, PageDown, Top, Bottom };

// Page Up/Down, Home, End, Up and Down; with sideways also Left (up) and Right (down).
std::optional<TableScroll> ScrollOfKey(Key key, bool sideways);
// A wheel turn: one line up (away from the user) or down; none for 0.
std::optional<TableScroll> ScrollOfWheel(int wheel);
// A scroll bar's request; Track is the caller's (a position).
std::optional<TableScroll> ScrollOfRequest(ScrollRequest request);

// Range 0 .. the last page's top line, page 26, position the top line.
void SyncScrollBar(WindowHost& window, int id, int maximum, int topLine);

}  // namespace vantor::ui
