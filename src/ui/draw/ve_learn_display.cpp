#include "ui/draw/ve_learn_display.h"

#include <cmath>
#include <cstdio>

#include "cal/ve_table.h"
#include "ui/draw/pitch_text.h"
#include "velearn/ve_learn.h"

namespace vantor::ui {
namespace {

constexpr Rgb kLearnedCell{33, 165, 33};
constexpr Rgb kVisitedCell{150, 106, 3};
constexpr int kRowsBeforeRead = 32;
// The grid's positions and highlight boxes assume 8-pixel characters; the
// medium font is wider, so every text here is laid on that pitch.
constexpr int kPitch = 8;

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[96];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

TextStyle MediumText() {
  TextStyle style;
  style.font = FontId::Medium;
  return style;
}

struct TableTitle {
  const char* text;
  int x;
};

TableTitle TitleOf(VeTableShown table) {
  switch (table) {
    case VeTableShown::Learned: return {"New Learned BIN Values in Percent ", 266};
    case VeTableShown::Corrections: return {"    Corrections in Percent        ", 271};
    case VeTableShown::Original: break;
  }
  return {" Original BIN Values in Percent   ", 271};
}

const VeTable& TableOf(const VeLearn& learn, VeTableShown table) {
  switch (table) {
    case VeTableShown::Learned: return learn.Learned();
    case VeTableShown::Corrections: return learn.Correction();
    case VeTableShown::Original: break;
  }
  return learn.Original();
}

int Truncated(double value) { return static_cast<int>(std::trunc(value)); }

void Write(Canvas& canvas, int x, int y, std::string_view text, const TextStyle& style) {
  PitchText(canvas, x, y, text, kPitch, style);
}

}  // namespace

VeCell HighlightedCell(int mapIndex, int rpmIndex) {
  const double m = mapIndex, r = rpmIndex;
  VeCell cell;
  cell.column = Truncated(mapIndex < 52 ? (m + 2.5) / 5 + 1 : (m + 5 - 50) / 10 + 11);
  if (rpmIndex < 68)
    cell.row = Truncated((r + 2) / 4 + 1);
  else if (rpmIndex < 136)
    cell.row = Truncated((r + 4 - 72) / 8 + 18);
  else
    cell.row = Truncated((r + 8 - 144) / 16 + 26);
  return cell;
}

std::string VeCellText(VeTableShown table, std::int32_t cell) {
  if (table != VeTableShown::Corrections) return Format("%3d ", static_cast<int>(cell * 0.390625 + 0.5));
  if (cell == 0) return Format("  %c ", '.');
  const double ratio = cell / 128.0;
  const int percent = cell >= 128 ? Truncated((ratio - 1) * 100) : Truncated((1 - ratio) * -100);
  return Format("%3d ", percent);
}

int VeRowCount(bool tableRead) { return tableRead ? kVeRows : kRowsBeforeRead; }

VeLearnDisplay::VeLearnDisplay(VeLearn& learn, const LiveView& view, StatusPanel& panel, DrawSurface& surface)
    : learn_(learn), view_(view), panel_(panel), surface_(surface) {}

void VeLearnDisplay::OnFrame(const std::uint8_t* data, bool draw) {
  if (draw) {
    DrawScope scope(surface_);
    panel_.Update(data);
  }
  learn_.OnFrame(data, draw);
}

// Three drawings, so the window copies three small areas, not their union.
void VeLearnDisplay::Redraw() {
  {
    DrawScope scope(surface_);
    panel_.DrawValues(scope.canvas(), false);
  }
  {
    DrawScope scope(surface_);
    DrawGrid(scope.canvas());
  }
  DrawScope scope(surface_);
  DrawNotes(scope.canvas());
}

void VeLearnDisplay::Paint(Canvas& canvas) {
  drawn_ = Drawn{};
  DrawFrame(canvas);
  DrawGrid(canvas);
  DrawNotes(canvas);
}

// A thin outline with bevelled corners around the grid.
void VeLearnDisplay::DrawFrame(Canvas& canvas) {
  static constexpr Point kOutline[] = {{152, 50},  {662, 50},  {664, 52}, {664, 536}, {662, 538},
                                       {152, 538}, {150, 536}, {150, 52}, {152, 50}};
  canvas.Polyline(kOutline, Pen{colour::kText, 1});
}

void VeLearnDisplay::DrawGrid(Canvas& canvas) {
  learn_.Recompute();
  const VeTableShown shown = Shown();
  const TextStyle text = MediumText();
  auto lock = learn_.TablesLock();
  const VeTable& table = TableOf(learn_, shown);

  std::string header = "RPM/MAP";
  for (int c = 1; c <= kVeColumns; ++c) header += Format("%3d ", table.At(0, c));
  if (header != drawn_.header) Write(canvas, 160, 54, header, text);
  drawn_.header = header;
  const TableTitle title = TitleOf(shown);
  if (drawn_.title != title.text) Write(canvas, title.x, 32, title.text, text);
  drawn_.title = title.text;

  const bool running = view_.EngineRunning();
  const VeCell cell = HighlightedCell(learn_.MapBinNow(), learn_.RpmBinNow());
  const Rgb fill = learn_.LearnedThisFrame() ? kLearnedCell : kVisitedCell;
  const std::string cellText = VeCellText(shown, table.At(cell.row, cell.column));
  const bool changed = running != drawn_.highlightShown || cell != drawn_.highlight || fill != drawn_.highlightColour ||
                       cellText != drawn_.highlightText;
  // The old highlight goes when its row is written again.
  const int oldRow = drawn_.highlightShown && changed ? drawn_.highlight.row : 0;
  const bool covered = DrawRows(canvas, shown, table, oldRow, cell.row);
  if (running && (changed || covered)) {
    const int x = 181 + 32 * cell.column, y = 61 + 13 * cell.row;
    canvas.FillRect(Rect{x, y, x + 29, y + 15}, fill);
    TextStyle onCell = text;
    onCell.opaque = false;
    Write(canvas, x + 3, y - 1, cellText, onCell);
  }
  drawn_.highlightShown = running;
  drawn_.highlight = cell;
  drawn_.highlightColour = fill;
  drawn_.highlightText = cellText;
}

// Rows whose text changed, and forcedRow, are written again. True when a row
// written covers part of the highlight's cell at highlightRow.
bool VeLearnDisplay::DrawRows(Canvas& canvas, VeTableShown shown, const VeTable& table, int forcedRow,
                              int highlightRow) {
  const TextStyle text = MediumText();
  const int rows = VeRowCount(learn_.TableRead());
  std::array<bool, kVeRows + 2> written{};
  for (int r = 1; r <= rows; ++r) {
    std::string line = Format("%4d   ", table.At(r, 0));
    for (int c = 1; c <= kVeColumns; ++c) line += VeCellText(shown, table.At(r, c));
    if (line == drawn_.rows[r] && r != forcedRow) continue;
    Write(canvas, 160, 60 + 13 * r, line, text);
    drawn_.rows[r] = std::move(line);
    written[r] = true;
  }
  // A row's cell covers the top of the next row's text: its glyphs go back on.
  TextStyle glyphsOnly = text;
  glyphsOnly.opaque = false;
  for (int r = 1; r < rows; ++r)
    if (written[r] && !written[r + 1]) Write(canvas, 160, 60 + 13 * (r + 1), drawn_.rows[r + 1], glyphsOnly);
  return written[highlightRow - 1] || written[highlightRow] || written[highlightRow + 1];
}

void VeLearnDisplay::DrawNotes(Canvas& canvas) {
  const TextStyle text = MediumText();
  auto lock = learn_.TablesLock();
  if (learn_.WbBlmWarning() && !drawn_.warning)
    Write(canvas, 160, 537, "BLM not at 128 while in WB learn mode. Force open loop mode.", text);
  drawn_.warning = drawn_.warning || learn_.WbBlmWarning();
  const std::string overflow = learn_.OverflowTitle() + learn_.OverflowRpm() + learn_.OverflowMap();
  if (!learn_.OverflowTitle().empty() && overflow != drawn_.overflow) {
    Write(canvas, 674, 294, learn_.OverflowTitle(), text);
    Write(canvas, 699, 314, learn_.OverflowRpm(), text);
    Write(canvas, 699, 330, learn_.OverflowMap(), text);
    drawn_.overflow = overflow;
  }
  const std::string rpm = Format("rpm: %4d  ", static_cast<int>(view_.Rpm()));
  const std::string map = Format("map: %4d  ", learn_.DisplayMap());
  if (rpm != drawn_.rpm) Write(canvas, 50, 410, rpm, text);
  if (map != drawn_.map) Write(canvas, 50, 429, map, text);
  drawn_.rpm = rpm;
  drawn_.map = map;
}

}  // namespace vantor::ui
