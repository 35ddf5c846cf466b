#include "cal/message_pane.h"

namespace vantor {

const PaneStyle& FlashPaneStyle() {
  static const PaneStyle style{8, 48,
                               MakeRgb(240, 240, 240), MakeRgb(20, 20, 20), MakeRgb(20, 20, 20),
                               MakeRgb(150, 106, 3), MakeRgb(33, 165, 33), MakeRgb(225, 60, 60),
                               334, 321, 17, 331, 322, 719, 457};
  return style;
}

const PaneStyle& UpdatePaneStyle() {
  static const PaneStyle style{20, 80,
                               MakeRgb(20, 20, 20), MakeRgb(220, 220, 220), MakeRgb(220, 220, 220),
                               MakeRgb(255, 255, 0), MakeRgb(103, 245, 103), MakeRgb(245, 80, 80),
                               34, 127, 17, 31, 128, 755, 467};
  return style;
}

MessagePane::MessagePane(const PaneStyle& style) : style_(style) {}

void MessagePane::AddLine(Rgb background, std::string_view text) {
  const std::string_view shown = text.substr(0, static_cast<std::size_t>(style_.width));
  {
    std::lock_guard lock(mutex_);
    if (static_cast<int>(lines_.size()) == style_.lines) lines_.erase(lines_.begin());
    std::string padded(shown);
    padded.resize(static_cast<std::size_t>(style_.width), ' ');
    lines_.push_back({background, std::move(padded)});
  }
  Changed(background, shown);
}

void MessagePane::Clear() {
  std::function<void()> hook;
  {
    std::lock_guard lock(mutex_);
    lines_.clear();
    hook = changeHook_;
  }
  if (hook) hook();
}

int MessagePane::CurrentLine() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(lines_.size()) - 1;
}

std::vector<PaneLine> MessagePane::StoredLines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

std::vector<PaneLine> MessagePane::Snapshot() const {
  std::vector<PaneLine> rows = StoredLines();
  rows.resize(static_cast<std::size_t>(style_.lines),
              PaneLine{style_.cleared, std::string(static_cast<std::size_t>(style_.width), ' ')});
  return rows;
}

void MessagePane::SetChangeHook(std::function<void()> hook) {
  std::lock_guard lock(mutex_);
  changeHook_ = std::move(hook);
}

void MessagePane::SetLineHook(std::function<void(Rgb, std::string_view)> hook) {
  std::lock_guard lock(mutex_);
  lineHook_ = std::move(hook);
}

void MessagePane::Changed(Rgb background, std::string_view shown) {
  std::function<void()> change;
  std::function<void(Rgb, std::string_view)> line;
  {
    std::lock_guard lock(mutex_);
    change = changeHook_;
    line = lineHook_;
  }
  if (line) line(background, shown);
  if (change) change();
}

}  // namespace vantor
