#pragma once
// Keeps every line a job writes, with its colour (a pane keeps only its last
// rows) and, given the link's tick, when it was written.

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_tick.h"
#include "link/message_sink.h"

namespace vantor::test {

struct RecordedLine {
  Rgb background;
  std::string text;
  std::uint32_t tick = 0;  // LinkTick when the line was written
};

class PaneRecorder : public MessageSink {
 public:
  explicit PaneRecorder(const LinkTick* tick = nullptr) : tick_(tick) {}
  void AddLine(Rgb background, std::string_view text) override {
    std::lock_guard lock(mutex_);
    lines_.push_back({background, std::string(text), tick_ ? tick_->Now() : 0});
  }
  std::vector<RecordedLine> Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const auto& line : Lines()) texts.push_back(line.text);
    return texts;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
  }

 private:
  const LinkTick* tick_;
  mutable std::mutex mutex_;
  std::vector<RecordedLine> lines_;
};

}  // namespace vantor::test
