#include "ui/draw/qtr_graph_painter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace vantor::ui {
namespace {

constexpr Rgb kGrey{180, 180, 180};
constexpr Rgb kGrid{90, 90, 90};
constexpr Rgb kTpsColour{240, 10, 240};
constexpr Rgb kO2Colour{210, 10, 10};
constexpr Rgb kSpeedColour{10, 112, 10};
constexpr Rgb kRpmColour{10, 10, 240};
constexpr Rgb kMarkColour{200, 153, 51};
constexpr Rgb kStampColour{51, 123, 51};
constexpr int kGridBottom = 503;
constexpr double kGridSpacing = 38.2;
constexpr int kNameChars = 30;

TextStyle Plain(Rgb colour = colour::kText, Align align = Align::Left) {
  TextStyle style;
  style.colour = colour;
  style.align = align;
  return style;
}

int GridY(double offset) { return kGridBottom - static_cast<int>(std::lround(offset)); }

std::string Format(const char* format, int value) {
  char text[16];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Ticks 4 pixels long ending at x, counted up from the bottom grid line, with
// their labels to the left.
void DrawScale(Canvas& canvas, int x, int count, double spacing, Rgb colour,
               const std::function<std::string(int)>& label) {
  const int half = canvas.LineHeight(FontId::Default) / 2;
  for (int i = 0; i < count; ++i) {
    const int y = GridY(i * spacing);
    canvas.Line(Point{x - 4, y}, Point{x, y}, Pen{colour, 1});
    canvas.Text(x - 5, y - half, label(i), Plain(colour, Align::Right));
  }
}

}  // namespace

int ClampCursor(int x) { return std::clamp(x, qtr_graph::kCursorMin, qtr_graph::kCursorMax); }

QtrGraphPainter::QtrGraphPainter(const ViewLines& lines, const Settings& settings)
    : lines_(lines), settings_(settings) {}

bool QtrGraphPainter::Wideband() const { return WidebandPreferred(settings_); }

void QtrGraphPainter::Compute(int startLine, int selectedLine, char selectedKind) {
  start_ = startLine;
  const bool kph = settings_.kphOrMph == 1;
  results_ = ComputePerformance(lines_, startLine, kph);
  step_ = StepPixels(results_);
  TraceOptions options;
  options.speedInKph = kph;
  options.wideband = Wideband();
  options.selectedLine = selectedLine;
  options.selectedKind = selectedKind;
  points_ = BuildTraces(lines_, startLine, step_, options);
}

bool QtrGraphPainter::NearCursor(int x) const { return std::abs(x - cursorX_) <= qtr_layout::kGrabSlack; }

void QtrGraphPainter::Paint(Canvas& canvas) const {
  canvas.FillRect(Rect{0, 0, qtr_layout::kWidth, qtr_layout::kHeight}, colour::kBackground);
  TextStyle title;
  title.font = FontId::Title;
  canvas.Text(331, 6, "Performance", title);
  canvas.Text(20, 8, std::string(kNameChars, ' '), Plain());
  canvas.Text(20, 8, settings_.analysisName.substr(0, kNameChars), Plain());
  PaintResults(canvas);
  canvas.Text(424, 552, "Seconds", Plain());
  canvas.Text(16, 552, "RunTime:", Plain());
  canvas.Text(82, 552, results_.runTime, Plain());
  canvas.FrameRect(qtr_layout::kPlotFrame, Pen{kGrey, 2});
  PaintGrid(canvas);
  PaintScales(canvas);
  PaintTraces(canvas);
  InvertCursor(canvas);
  PaintReadout(canvas);
}

void QtrGraphPainter::PaintResults(Canvas& canvas) const {
  struct Label {
    const char* text;
    int x, y;
  };
  static constexpr Label kLabels[] = {{"0-60 mph:", 171, 40}, {"60 foot:", 171, 60}, {"330 foot:", 171, 80},
                                      {"1/8 Mile:", 321, 40}, {"1/4 Mile:", 471, 40}};
  for (const Label& label : kLabels) canvas.Text(label.x, label.y, label.text, Plain());
  const TextStyle right = Plain(colour::kText, Align::Right);
  canvas.Text(299, 40, SecondsText(results_.t060), right);
  canvas.Text(299, 60, SecondsText(results_.t60ft), right);
  canvas.Text(299, 80, SecondsText(results_.t330ft), right);
  canvas.Text(441, 40, SecondsText(results_.t8), right);
  canvas.Text(441, 60, TrapText(results_.trap8), right);
  canvas.Text(591, 40, SecondsText(results_.t4), right);
  canvas.Text(591, 60, TrapText(results_.trap4), right);
}

void QtrGraphPainter::PaintGrid(Canvas& canvas) const {
  const Pen grid{kGrid, 1};
  for (int i = 0; i < 11; ++i) {
    const int y = GridY(i * kGridSpacing);
    canvas.Line(Point{111, y}, Point{794, y}, grid);
  }
  const int ticks = SecondTicks(step_);
  for (int i = 0; i < ticks; ++i) {
    const int x = qtr_graph::kPlotLeft + i * 17 * step_;
    canvas.Line(Point{x, 122}, Point{x, kGridBottom + 1}, grid);
    canvas.Line(Point{x, 526}, Point{x, 531}, grid);
  }
}

void QtrGraphPainter::PaintScales(Canvas& canvas) const {
  const bool kph = settings_.kphOrMph == 1;
  const bool wideband = Wideband();
  canvas.Text(20, 30, "TPS%", Plain(kTpsColour));
  canvas.Text(20, 50, wideband ? "O2 WB AFR" : "O2 NB V", Plain(kO2Colour));
  canvas.Text(20, 70, kph ? "KPH" : "MPH", Plain(kSpeedColour));
  canvas.Text(20, 90, "RPM x1000", Plain(kRpmColour));
  DrawScale(canvas, 109, 17, 24.0, kRpmColour, [](int i) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d", i / 2, i % 2 * 5);
    return std::string(text);
  });
  DrawScale(canvas, 81, kph ? 11 : 7, kph ? 37.0 : 60.0, kSpeedColour,
            [](int i) { return Format("%3d", i * 20); });
  DrawScale(canvas, 50, 11, kGridSpacing, kO2Colour, [wideband](int i) {
    if (wideband) return Format("%d", 10 + i);
    return i == 10 ? std::string("1") : Format(".%d", i);
  });
  DrawScale(canvas, 25, 11, kGridSpacing, kTpsColour, [](int i) { return Format("%3d", i * 10); });
}

void QtrGraphPainter::PaintTraces(Canvas& canvas) const {
  for (const TracePoint& point : points_) {
    if (point.kind != kKindMark && point.kind != kKindStamp) continue;
    canvas.FillRect(Rect{point.x - 1, qtr_graph::kTickTop, point.x + 2, qtr_graph::kTickBottom + 1},
                    point.kind == kKindMark ? kMarkColour : kStampColour);
  }
  const auto trace = [&](int TracePoint::*field, Rgb colour) {
    std::vector<Point> line;
    line.reserve(points_.size());
    for (const TracePoint& point : points_) line.push_back(Point{point.x, point.*field});
    if (line.size() >= 2) canvas.Polyline(line, Pen{colour, 1});
  };
  trace(&TracePoint::rpmY, kRpmColour);
  trace(&TracePoint::speedY, kSpeedColour);
  trace(&TracePoint::o2Y, kO2Colour);
  trace(&TracePoint::tpsY, kTpsColour);
}

void QtrGraphPainter::InvertCursor(Canvas& canvas) const {
  canvas.InvertRect(Rect{cursorX_, 121, cursorX_ + 1, qtr_graph::kBaseline + 1});
}

void QtrGraphPainter::MoveCursor(Canvas& canvas, int x) {
  InvertCursor(canvas);
  cursorX_ = ClampCursor(x);
  InvertCursor(canvas);
  PaintReadout(canvas);
}

void QtrGraphPainter::PaintReadout(Canvas& canvas) const {
  const bool kph = settings_.kphOrMph == 1;
  const bool wideband = Wideband();
  canvas.FrameRect(Rect{660, 5, 761, 110}, Pen{kGrey, 1});
  canvas.Text(710, 10, "RPM", Plain());
  canvas.Text(710, 30, kph ? "KPH" : "MPH", Plain());
  canvas.Text(710, 50, wideband ? "AFR" : "mV O2", Plain());
  canvas.Text(710, 70, "% TPS", Plain());
  // Blanks under every value, so that a line that does not exist shows none.
  const int height = canvas.LineHeight(FontId::Default);
  for (int y : {10, 30, 50, 70}) canvas.FillRect(Rect{662, y, 706, y + height}, colour::kBackground);
  canvas.FillRect(Rect{662, 90, 759, 90 + height}, colour::kBackground);
  const CursorReadout readout = ReadoutAt(lines_, start_, step_, cursorX_, wideband);
  if (!readout.valid) return;
  const TextStyle right = Plain(colour::kText, Align::Right);
  canvas.Text(705, 10, readout.rpm, right);
  canvas.Text(705, 30, readout.speed, right);
  canvas.Text(705, 50, readout.o2, right);
  canvas.Text(705, 70, readout.tps, right);
  canvas.Text(734, 90, readout.runTime, right);
}

}  // namespace vantor::ui
