#pragma once
// What the Analysis table shows and how it moves: the view file, the top
// line, the selected line with the kind it replaced, paging, Find Mark and
// the rebuild after a settings change. Drawing is the window's.

#include <string>

#include "logs/analysis_view_file.h"
#include "logs/export_hooks.h"
#include "settings/settings.h"

namespace vantor {

// The background of a row, chosen by its line kind.
enum class RowShade { kPlainEven, kPlainOdd, kMark, kStamp, kSelected };
RowShade ShadeOfLine(const char* line);

class AnalysisTableModel {
 public:
  static constexpr int kRows = 26;
  static constexpr int kRowHeight = 17;
  static constexpr int kTableTop = 104;
  static constexpr int kTableLeft = 1;
  static constexpr int kTableRight = 773;
  static constexpr int kTableBottom = 546;
  static constexpr int kClickSlack = 5;

  explicit AnalysisTableModel(AnalysisViewFile& view) : view_(view) {}

  bool HasView() const { return view_.IsOpen(); }
  int LineCount() const { return view_.IsOpen() ? view_.LineCount() : 0; }
  int TopLine() const { return top_; }
  int SelectedLine() const { return selected_; }
  char ReplacedKind() const { return replacedKind_; }

  // After a new view file was built: top line 0, no selection.
  void Reset();
  // After CloseAnalysisWindow: no selection.
  void ClearSelection() { selected_ = -1; }

  // Moves: the scroll bar, the arrow keys and paging.
  void ScrollBy(int lines);
  void LineUp() { ScrollBy(-1); }
  void LineDown() { ScrollBy(1); }
  void PageUp() { ScrollBy(-kRows); }
  void PageDown() { ScrollBy(kRows); }
  void Home() { top_ = 0; }
  void End();
  void ScrollTo(int line);

  // Selecting line n: the previous selection gets its kind back, n shows "9".
  bool Select(int line);
  // The line under a y position in the table, or -1.
  int LineAt(int y) const;
  // Button up within the slack of its button down, inside the table: selects the row.
  bool SelectByClick(int downX, int downY, int upX, int upY);

  // FindNextMark: scrolls to the next line that is not plain; messages when there is none.
  bool FindNextMark(const MessageHook& message);
  // The quarter-mile start: the selected line made the top line, or the top line selected.
  // -1 with the message when no log is viewed or its table is empty.
  int QuarterMileStart(const MessageHook& message);

  // The settings-changed rebuild over the same view file; the selection is marked again.
  ExportResult Rebuild(const std::string& logPath, const Settings& settings, const ExportHooks& hooks);

  // Up to 26 lines from the top line (109 bytes each); returns the count.
  int VisibleLines(char* out) const { return view_.ReadLines(top_, kRows, out); }
  // The highest top line of End and the scroll bar: the last page.
  int MaxTop() const;

 private:
  AnalysisViewFile& view_;
  int top_ = 0;
  int selected_ = -1;
  char replacedKind_ = kKindPlain;
};

}  // namespace vantor
