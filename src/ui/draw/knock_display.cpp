#include "ui/draw/knock_display.h"

#include "ui/draw/pitch_text.h"
#include "ui/draw/text_format.h"

namespace vantor::ui {
namespace {

// The table's character pitch: four characters make one 32-pixel cell.
constexpr int kPitch = 8;
constexpr int kCellWidth = 4 * kPitch;
constexpr int kRowStep = 13;
constexpr Rgb kAccumulating{33, 165, 33};
constexpr Rgb kOtherGrid{150, 106, 3};

TextStyle MediumText() {
  TextStyle style;
  style.font = FontId::Medium;
  return style;
}

struct GridLayout {
  int headerX, rowX, columns, rows;
  const char* corner;
};

GridLayout LayoutOf(KnockGrid grid) {
  if (grid == KnockGrid::Boost) return {178, 194, kBoostColumns - 1, kBoostRows - 1, "RPM/MAP "};
  return {172, 180, kStandardColumns - 1, kStandardRows - 1, "RPM/MAP"};
}

int AxisLabel(KnockGrid grid, int column, int mapSensorBar) {
  if (grid == KnockGrid::Standard) return kStandardMapAxis[static_cast<std::size_t>(column)];
  const int value = kBoostAxis[static_cast<std::size_t>(column)];
  return mapSensorBar == 3 ? value * 2 - 100 : value;
}

int RowRpm(KnockGrid grid, int row) {
  return grid == KnockGrid::Boost ? kBoostRpmAxis[static_cast<std::size_t>(row)]
                                  : kStandardRpmAxis[static_cast<std::size_t>(row)];
}

// The first cell of a row starts behind the six characters of "%4d  ", and
// the header's behind its corner text, at the same x.
int CellTextX(const GridLayout& layout, int column) { return layout.rowX + 6 * kPitch + (column - 1) * kCellWidth; }

}  // namespace

std::string KnockCellText(std::uint32_t hundredths) {
  if (hundredths == 0) return "  . ";
  return FormatText("%3d ", static_cast<int>(hundredths / 100));
}

const char* KnockStatisticTitle(KnockStatistic statistic) {
  switch (statistic) {
    case KnockStatistic::Average: return "Average Spark Retard in Degrees";
    case KnockStatistic::Peak: return " Peak Spark Retard in Degrees  ";
    case KnockStatistic::Total: return " Total Spark Retard in Degrees ";
    case KnockStatistic::Counts: return "     Total Knock in Counts     ";
  }
  return "";
}

Point KnockCellOrigin(KnockGrid grid, KnockCell cell) {
  const int x = (grid == KnockGrid::Boost ? 207 : 193) + kCellWidth * cell.column;
  return Point{x, 121 + kRowStep * cell.row};
}

KnockDisplay::KnockDisplay(const Settings& settings, const LiveView& view, StatusPanel& panel, DrawSurface& surface)
    : settings_(settings), view_(view), panel_(panel), surface_(surface) {}

void KnockDisplay::OnFrame(const std::uint8_t* data, bool draw) {
  DrawScope scope(surface_);
  panel_.Update(data);
  map_.AddFrame(data, view_.Rpm(), view_.EngineRunning(), panel_.Values().mapSensorBar);
  if (++redrawCounter_ > settings_.updateDivisor && draw) {
    redrawCounter_ = 0;
    panel_.DrawValues(scope.canvas(), false);
    DrawTable(scope.canvas());
  }
}

void KnockDisplay::Paint(Canvas& canvas) {
  DrawFrame(canvas);
  DrawTable(canvas);
}

void KnockDisplay::SelectStatistic(KnockStatistic statistic) {
  DrawScope scope(surface_);
  statistic_ = statistic;
}

void KnockDisplay::SelectGrid(KnockGrid grid) {
  DrawScope scope(surface_);
  shown_ = grid;
}

void KnockDisplay::ClearData() {
  DrawScope scope(surface_);
  map_.Clear();
}

// The panel from (165, 105) to (628, 424) with its two tabs above; the top
// edge stays open below the tab of the grid shown.
void KnockDisplay::DrawFrame(Canvas& canvas) {
  const Pen pen{colour::kText, 1};
  const Point standardTab[] = {{165, 105}, {165, 81}, {169, 77}, {251, 77}, {255, 81}, {255, 105}};
  const Point boostTab[] = {{255, 105}, {255, 81}, {259, 77}, {345, 77}, {349, 81}, {349, 105}};
  canvas.Polyline(standardTab, pen);
  canvas.Polyline(boostTab, pen);
  const Point body[] = {{349, 105}, {624, 105}, {628, 109}, {628, 420}, {624, 424}, {169, 424}, {165, 420}, {165, 105}};
  canvas.Polyline(body, pen);
  if (shown_ == KnockGrid::Standard)
    canvas.Line(Point{255, 105}, Point{349, 105}, pen);
  else
    canvas.Line(Point{165, 105}, Point{255, 105}, pen);
  PitchText(canvas, 175, 83, "Standard", kPitch, MediumText());
  PitchText(canvas, 277, 83, "Boost", kPitch, MediumText());
}

void KnockDisplay::DrawTable(Canvas& canvas) {
  const TextStyle text = MediumText();
  PitchText(canvas, 270, 50, KnockStatisticTitle(statistic_), kPitch, text);
  const GridLayout layout = LayoutOf(shown_);
  const int mapSensorBar = panel_.Values().mapSensorBar;
  PitchText(canvas, layout.headerX, 110, layout.corner, kPitch, text);
  for (int column = 1; column <= layout.columns; ++column)
    PitchText(canvas, CellTextX(layout, column), 110, FormatText("%3d ", AxisLabel(shown_, column, mapSensorBar)),
              kPitch, text);
  for (int row = 1; row <= layout.rows; ++row) {
    const int y = 120 + kRowStep * row;
    PitchText(canvas, layout.rowX, y, FormatText("%4d  ", RowRpm(shown_, row)), kPitch, text);
    for (int column = 1; column <= layout.columns; ++column)
      PitchText(canvas, CellTextX(layout, column), y, KnockCellText(map_.Cell(shown_, statistic_, row, column)),
                kPitch, text);
  }
  PitchText(canvas, 50, 410, FormatText("rpm: %4d  ", static_cast<int>(view_.Rpm())), kPitch, text);
  PitchText(canvas, 50, 429, FormatText("map: %4d  ", map_.MapShown()), kPitch, text);
  if (view_.EngineRunning()) DrawHighlight(canvas);
}

void KnockDisplay::DrawHighlight(Canvas& canvas) {
  const KnockCell cell = map_.CurrentCell(shown_);
  const Point at = KnockCellOrigin(shown_, cell);
  canvas.FillRect(Rect{at.x, at.y, at.x + 29, at.y + 15}, shown_ == map_.ActiveGrid() ? kAccumulating : kOtherGrid);
  TextStyle text = MediumText();
  text.opaque = false;
  PitchText(canvas, at.x + 3, at.y - 1, KnockCellText(map_.Cell(shown_, statistic_, cell.row, cell.column)), kPitch,
            text);
}

}  // namespace vantor::ui
