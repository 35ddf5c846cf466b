#pragma once
// Keeps every line a job writes, with its colour (a pane keeps only its last rows).

#include <algorithm>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/message_sink.h"

namespace vantor::test {

struct RecordedLine {
  Rgb background;
  std::string text;
};

class PaneRecorder : public MessageSink {
 public:
  void AddLine(Rgb background, std::string_view text) override {
    std::lock_guard lock(mutex_);
    lines_.push_back({background, std::string(text)});
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
  bool Contains(const std::string& text) const {
    const auto texts = Texts();
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<RecordedLine> lines_;
};

}  // namespace vantor::test
