#pragma once
// How the log analysis passes talk to their window: message boxes and the
// progress bar. Every hook may be left empty.

#include <cstdint>
#include <functional>
#include <string>

namespace vantor {

// A message box: text and caption.
using MessageHook = std::function<void(const std::string& text, const std::string& caption)>;

struct ExportProgress {
  std::function<void(int maximum)> begin;  // range 0 .. log size / 4709, step 1
  std::function<void()> step;              // once every 17 frames
  std::function<void()> end;
};

struct ExportHooks {
  MessageHook message;
  ExportProgress progress;
};

enum class ExportResult { kOk, kLogOpenFailed, kOutputOpenFailed, kWriteFailed, kReadFailed, kOutputIsLog, kNotALog };

// A file in which no frame passes its check: the window's Dump writes what
// the pass gives (a heading at most); the command-line tool refuses it as
// not a data log and leaves no output.
enum class FramelessLog { Write, Refuse };

constexpr int kFramesPerProgressStep = 17;

}  // namespace vantor
