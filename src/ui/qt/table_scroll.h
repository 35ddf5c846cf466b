#pragma once
// The moves of the Analysis table, as its keys, the graph window's keys and
// both scroll bars ask for them.

#include <functional>
#include <optional>

class QScrollBar;

namespace vantor::ui {

enum class TableScroll { LineUp, LineDown, PageUp, PageDown, Top, Bottom };

// Page Up/Down, Home, End, Up and Down; with sideways also Left (up) and Right (down).
std::optional<TableScroll> ScrollOfKey(int key, bool sideways);

// A wheel turn: one line up (away from the user) or down; none for 0.
std::optional<TableScroll> ScrollOfWheel(int angleDelta);

// Turns the scroll bar's line, page, thumb and top/bottom requests and the
// wheel over it into table moves; the bar's own position then follows the
// table (SyncScrollBar).
void RouteScrollBar(QScrollBar* bar, std::function<void(TableScroll)> scroll, std::function<void(int)> scrollTo);

// Range 0 .. the last page's top line, page 26, position the top line.
void SyncScrollBar(QScrollBar* bar, int maximum, int topLine);

}  // namespace vantor::ui
