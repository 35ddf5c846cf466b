#pragma once
// MessagePane: the coloured, scrolling lines of flash work, one model for both
// programs (8 x 48 in the main program's Flash window, 20 x 80 in the update
// utility). The flash work adds lines from its thread; a window repaints from
// Snapshot() when the change hook tells it to.

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/message_sink.h"

namespace vantor {

struct PaneStyle {
  int lines;
  int width;          // characters per line
  Rgb text;           // text colour of every line
  Rgb cleared;        // background of a cleared line
  Rgb progress;       // progress, information, blank separators, elapsed time
  Rgb failedStep;     // a step's own failure message
  Rgb success;        // final success line (the utility: also "bank programmed")
  Rgb finalFailure;   // final failure line
  // Where a window draws it (pixels): first line, line pitch, scrolled rectangle.
  int x, y, lineHeight;
  int scrollLeft, scrollTop, scrollRight, scrollBottom;
};

// The main program's Flash window pane.
const PaneStyle& FlashPaneStyle();
// The update utility's pane.
const PaneStyle& UpdatePaneStyle();

struct PaneLine {
  Rgb background;
  std::string text;  // always exactly the pane's width
  friend bool operator==(const PaneLine&, const PaneLine&) = default;
};

class MessagePane : public MessageSink {
 public:
  explicit MessagePane(const PaneStyle& style);

  const PaneStyle& Style() const { return style_; }

  // Pads with blanks or cuts to the width; when the pane is full the lines
  // move up one and the new one takes the last row.
  void AddLine(Rgb background, std::string_view text) override;
  void Clear();

  // Index of the last line written; -1 when the pane is empty.
  int CurrentLine() const;
  // The lines written since the last clear, top first.
  std::vector<PaneLine> StoredLines() const;
  // Every row as a window shows it: the stored lines, then cleared rows.
  std::vector<PaneLine> Snapshot() const;

  // Called after every change, outside the pane's lock (a window schedules a repaint).
  void SetChangeHook(std::function<void()> hook);
  // Called for every added line with its text cut to the width but not padded.
  void SetLineHook(std::function<void(Rgb background, std::string_view text)> hook);

 private:
  void Changed(Rgb background, std::string_view shown);

  const PaneStyle& style_;
  mutable std::mutex mutex_;
  std::vector<PaneLine> lines_;  // at most style_.lines
  std::function<void()> changeHook_;
  std::function<void(Rgb, std::string_view)> lineHook_;
};

}  // namespace vantor
