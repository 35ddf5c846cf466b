#pragma once
// The Analysis display's face: title, the viewed log's name, the two column
// headings and the 26 table rows from the top line, coloured by line kind.
// The buttons and the scroll bar are the window's controls.

#include "logs/analysis_table_model.h"
#include "settings/settings.h"
#include "ui/canvas.h"
#include "ui/draw/display_painter.h"

namespace vantor::ui {

namespace analysis_layout {
constexpr int kRowsX = 3;
constexpr int kHeadingX = 1;
constexpr int kHeadingTopY = 70;
constexpr int kHeadingUnitsY = 84;
// Columns are set at a fixed pitch so that the 96 shown characters of a
// line fill the table's width as laid out.
constexpr int kColumnPitch = 8;
constexpr Rect kTable{1, 104, 774, 546};
constexpr Rect kScrollBar{774, 104, 792, 547};
constexpr Rgb kFrameGrey{180, 180, 180};
}  // namespace analysis_layout

Rgb RowBackground(RowShade shade);

class AnalysisPainter final : public DisplayBody {
 public:
  AnalysisPainter(const AnalysisTableModel& table, const Settings& settings);

  // The whole display.
  void Paint(Canvas& canvas) override;
  // The 26 rows only: after a move or a selection.
  void PaintRows(Canvas& canvas) const;
  // Before a rebuild: the rows cleared to the table's background.
  static void ClearTable(Canvas& canvas);

 private:
  const AnalysisTableModel& table_;
  const Settings& settings_;
};

// Text at the column pitch of the table, on a filled background.
void DrawColumns(Canvas& canvas, int x, int y, std::string_view text, Rgb background);

}  // namespace vantor::ui
