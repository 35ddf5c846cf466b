#include "ui/draw/analysis_painter.h"

#include <string>

namespace vantor::ui {
namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr int kNameChars = 30;

}  // namespace

Rgb RowBackground(RowShade shade) {
  switch (shade) {
    case RowShade::kPlainEven: return {30, 30, 30};
    case RowShade::kPlainOdd: return kBlack;
    case RowShade::kMark: return {200, 153, 51};
    case RowShade::kStamp: return {51, 123, 51};
    case RowShade::kSelected: return {51, 51, 123};
  }
  return kBlack;
}

void DrawColumns(Canvas& canvas, int x, int y, std::string_view text, Rgb background) {
  const int height = canvas.LineHeight(FontId::Medium);
  canvas.FillRect(Rect{x, y, x + static_cast<int>(text.size()) * analysis_layout::kColumnPitch, y + height},
                  background);
  TextStyle style;
  style.font = FontId::Medium;
  style.opaque = false;
  // One character at a time: the degree sign takes two bytes of UTF-8.
  int column = 0;
  for (std::size_t i = 0; i < text.size(); ++column) {
    std::size_t length = 1;
    if ((static_cast<unsigned char>(text[i]) & 0xE0) == 0xC0) length = 2;
    canvas.Text(x + column * analysis_layout::kColumnPitch, y, text.substr(i, length), style);
    i += length;
  }
}

AnalysisPainter::AnalysisPainter(const AnalysisTableModel& table, const Settings& settings)
    : table_(table), settings_(settings) {}

void AnalysisPainter::Paint(Canvas& canvas) {
  TextStyle title;
  title.font = FontId::Title;
  canvas.Text(320, 6, "Data Analysis", title);
  TextStyle medium;
  medium.font = FontId::Medium;
  if (table_.HasView()) {
    canvas.Text(20, 8, std::string(kNameChars, ' '), medium);
    canvas.Text(20, 8, settings_.analysisName.substr(0, kNameChars), medium);
  }
  using namespace analysis_layout;
  DrawColumns(canvas, kHeadingX, kHeadingTopY, ViewHeadingTop(), colour::kBackground);
  DrawColumns(canvas, kHeadingX, kHeadingUnitsY, ViewHeadingUnits(settings_), colour::kBackground);
  PaintRows(canvas);
  // The pen's two pixels fall on the outer side of each edge: the frame lies
  // just outside the table and the scroll bar.
  canvas.FrameRect(Rect{kTable.left - 1, kTable.top - 1, kScrollBar.right + 2, kScrollBar.bottom + 2},
                   Pen{kFrameGrey, 2});
}

void AnalysisPainter::ClearTable(Canvas& canvas) { canvas.FillRect(analysis_layout::kTable, kBlack); }

void AnalysisPainter::PaintRows(Canvas& canvas) const {
  using namespace analysis_layout;
  constexpr int kRows = AnalysisTableModel::kRows;
  constexpr int kHeight = AnalysisTableModel::kRowHeight;
  char lines[kRows * kViewLineSize];
  const int shown = table_.VisibleLines(lines);
  ClearTable(canvas);
  for (int row = 0; row < shown; ++row) {
    const char* line = lines + row * kViewLineSize;
    DrawColumns(canvas, kRowsX, kTable.top + row * kHeight,
                std::string_view(line + view_field::kShownText, view_field::kShownWidth),
                RowBackground(ShadeOfLine(line)));
  }
}

}  // namespace vantor::ui
