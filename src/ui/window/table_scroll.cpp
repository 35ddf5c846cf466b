#include "ui/window/table_scroll.h"

#include <algorithm>

#include "logs/analysis_table_model.h"

namespace vantor::ui {

std::optional<TableScroll> ScrollOfKey(Key key, bool sideways) {
  switch (key) {
    case Key::PageUp: return TableScroll::PageUp;
    case Key::PageDown: return TableScroll::PageDown;
    case Key::Home: return TableScroll::Top;
    case Key::End: return TableScroll::Bottom;
    case Key::Up: return TableScroll::LineUp;
    case Key::Down: return TableScroll::LineDown;
    case Key::Left:
      if (sideways) return TableScroll::LineUp;
      break;
    case Key::Right:
      if (sideways) return TableScroll::LineDown;
      break;
    default: break;
  }
  return std::nullopt;
}

std::optional<TableScroll> ScrollOfWheel(int wheel) {
  if (wheel == 0) return std::nullopt;
  return wheel > 0 ? TableScroll::LineUp : TableScroll::LineDown;
}

std::optional<TableScroll> ScrollOfRequest(ScrollRequest request) {
  switch (request) {
    case ScrollRequest::LineUp: return TableScroll::LineUp;
    case ScrollRequest::LineDown: return TableScroll::LineDown;
    case ScrollRequest::PageUp: return TableScroll::PageUp;
    case ScrollRequest::PageDown: return TableScroll::PageDown;
    case ScrollRequest::Top: return TableScroll::Top;
    case ScrollRequest::Bottom: return TableScroll::Bottom;
    case ScrollRequest::Track: break;
  }
  return std::nullopt;
}

void SyncScrollBar(WindowHost& window, int id, int maximum, int topLine) {
  const int top = std::max(0, maximum);
  window.SetRange(id, 0, top, AnalysisTableModel::kRows);
  window.SetValue(id, std::clamp(topLine, 0, top));
}

}  // namespace vantor::ui
