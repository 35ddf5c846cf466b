#include "ui/draw/diagnostics_display.h"

#include "ui/draw/text_format.h"

namespace vantor::ui {
namespace {

constexpr Rgb kNarrowRed{240, 10, 10};
constexpr Rgb kWideMagenta{240, 10, 240};
constexpr Rect kChartArea{92, 330, 771, 522};
constexpr int kChartFrom = 763, kChartTo = 767;

struct BoxLayout {
  int count;
  Point at[3];
};

// Right edges of each box's texts, in the order TextsOf returns them.
constexpr BoxLayout kLayouts[] = {
    {1, {{410, 60}}},                          // RPM
    {1, {{670, 60}}},                          // speed
    {3, {{410, 112}, {410, 142}, {410, 172}}},  // MAP counts, kPa, volts
    {2, {{410, 224}, {410, 254}}},             // TPS counts, volts
    {3, {{670, 112}, {670, 142}, {670, 172}}},  // CTS counts, C, F
    {3, {{670, 224}, {670, 254}, {670, 284}}},  // IAT counts, C, F
    {2, {{150, 224}, {150, 254}}},             // O2 counts, mV
};

TextStyle LargeText(Align align) {
  TextStyle style;
  style.font = FontId::Large;
  style.align = align;
  return style;
}

TextStyle DefaultText(Rgb colour, Align align) {
  TextStyle style;
  style.colour = colour;
  style.align = align;
  return style;
}

int LevelOffset(int i) { return static_cast<int>(i * 19.125 + 0.5); }

}  // namespace

DiagnosticsDisplay::DiagnosticsDisplay(const Settings& settings, const LiveView& view, StatusPanel& panel,
                                       DrawSurface& surface)
    : settings_(settings), view_(view), panel_(panel), surface_(surface) {}

// Drawn on every frame on screen, not every (updateDivisor + 1)-th.
void DiagnosticsDisplay::OnFrame(const std::uint8_t* data, bool draw) {
  DrawScope scope(surface_);
  panel_.Update(data);
  ReadDiagnosticValues(values_, data, view_.Rpm(), panel_.Values().mapSensorBar, settings_.kphOrMph);
  if (!draw) return;
  panel_.DrawValues(scope.canvas(), false);
  DrawValues(scope.canvas(), false);
  DrawChart(scope.canvas());
}

void DiagnosticsDisplay::Paint(Canvas& canvas) {
  DrawFace(canvas);
  DrawValues(canvas, true);
}

DiagnosticsDisplay::BoxTexts DiagnosticsDisplay::TextsOf(Box box) const {
  const DiagnosticValues& v = values_;
  switch (box) {
    case kRpm: return {{FormatText("   %4d", v.rpm)}};
    case kSpeed: return {{FormatText("   %4d", v.speed)}};
    case kMap:
      return {{FormatText("   %4d", v.mapRaw), FormatText("   %4.1lf", v.mapKpa), FormatText("   %4.1lf", v.mapVolts)}};
    case kTps: return {{FormatText("   %4d", v.tpsRaw), FormatText("   %4.1f", v.tpsVolts)}};
    case kCts:
      return {{FormatText("   %4d", v.ctsRaw), FormatText("   %4.1lf", CodeCelsius(v.ctsCode)),
               FormatText("   %4.1lf", CodeFahrenheit(v.ctsCode))}};
    case kIat:
      return {{FormatText("   %4d", v.iatRaw), FormatText("   %4.1lf", CodeCelsius(v.iatCode)),
               FormatText("   %4.1lf", CodeFahrenheit(v.iatCode))}};
    case kO2: return {{FormatText("   %4d", v.o2Raw), FormatText("   %4d", v.o2Millivolts)}};
    case kBoxCount: break;
  }
  return {};
}

void DiagnosticsDisplay::DrawValues(Canvas& canvas, bool full) {
  for (int b = 0; b < kBoxCount; ++b) {
    const Box box = static_cast<Box>(b);
    BoxTexts texts = TextsOf(box);
    if (!full && everDrawn_[b] && texts == drawn_[b]) continue;
    DrawBox(canvas, box, texts);
    drawn_[b] = std::move(texts);
    everDrawn_[b] = true;
  }
}

void DiagnosticsDisplay::DrawBox(Canvas& canvas, Box box, const BoxTexts& texts) {
  const TextStyle style = LargeText(Align::Right);
  if (box == kRpm) canvas.Text(370, 60, "  ", style);
  const BoxLayout& layout = kLayouts[box];
  for (int i = 0; i < layout.count; ++i) canvas.Text(layout.at[i].x, layout.at[i].y, texts.texts[static_cast<std::size_t>(i)], style);
}

// Scrolled left by four one-pixel steps; the uncovered strip is not erased.
void DiagnosticsDisplay::DrawChart(Canvas& canvas) {
  for (int step = 0; step < 4; ++step) canvas.ScrollRect(kChartArea, -1, 0);
  const int narrowY = NarrowBandY(values_.o2Millivolts);
  canvas.Line(Point{kChartFrom, lastNarrowY_}, Point{kChartTo, narrowY}, Pen{kNarrowRed, 1});
  lastNarrowY_ = narrowY;
  const ChannelReading wideband = view_.Wideband();
  if (!wideband.configured) return;
  chartAfr_ = ChartAfr(wideband.value);
  const int wideY = WidebandY(chartAfr_);
  canvas.Line(Point{kChartFrom, lastWideY_}, Point{kChartTo, wideY}, Pen{kWideMagenta, 1});
  lastWideY_ = wideY;
}

void DiagnosticsDisplay::DrawFace(Canvas& canvas) {
  const Pen box{colour::kText, 1};
  for (const Rect& r : {Rect{270, 50, 420, 96}, Rect{530, 50, 680, 96}, Rect{270, 102, 490, 206},
                        Rect{270, 214, 490, 318}, Rect{530, 102, 750, 206}, Rect{530, 214, 750, 318},
                        Rect{10, 214, 230, 290}})
    canvas.FrameRect(r, box);
  const bool wideband = view_.Wideband().configured;
  DrawChartFace(canvas, wideband);
  const TextStyle large = LargeText(Align::Left);
  canvas.Text(280, 60, "RPM:      ", large);
  canvas.Text(540, 60, settings_.kphOrMph == 0 ? "MPH:      " : "KPH:      ", large);
  struct Caption {
    int x, y;
    const char* text;
  };
  static constexpr Caption kCaptions[] = {
      {280, 112, "MAP: "}, {420, 112, "Cnt's"}, {420, 142, "KPa  "}, {420, 172, "Volts"},
      {280, 224, "TPS: "}, {420, 224, "Cnt's"}, {420, 254, "Volts"},
      {540, 112, "CTS: "}, {680, 112, "Cnt's"}, {680, 142, "°C   "}, {680, 172, "°F   "},
      {540, 224, "IAT: "}, {680, 224, "Cnt's"}, {680, 254, "°C   "}, {680, 284, "°F   "},
      {20, 224, "O2:  "},  {160, 224, "Cnt's"}, {160, 254, "mV   "},
  };
  for (const Caption& caption : kCaptions) canvas.Text(caption.x, caption.y, caption.text, large);
}

void DiagnosticsDisplay::DrawChartFace(Canvas& canvas, bool wideband) {
  const Point frame[] = {{88, 329}, {772, 329}, {772, 523}, {88, 523}, {88, 329}};
  canvas.Polyline(frame, Pen{colour::kText, 2});
  const Pen tick{colour::kText, 1};
  for (int i = 0; i <= 10; ++i) {
    const int y = 330 + LevelOffset(i);
    canvas.Line(Point{83, y}, Point{88, y}, tick);
    if (wideband) canvas.Line(Point{45, y}, Point{50, y}, tick);
    canvas.Line(Point{90 + 68 * i, 522}, Point{90 + 68 * i, 527}, tick);
    if (i >= 1 && i <= 9) canvas.Line(Point{89, y}, Point{772, y}, Pen{colour::kDim, 1});
  }
  for (int i = 0; i <= 10; ++i) {
    canvas.Text(83 + 68 * i, 532, FormatText("%2d", 10 - i), TextStyle{});
    const int y = 323 + LevelOffset(i);
    canvas.Text(wideband ? 38 : 83, y, FormatText("%4d", (10 - i) * 100), DefaultText(kNarrowRed, Align::Right));
    if (wideband) canvas.Text(83, y, FormatText("%4.1f", 20.0 - i), DefaultText(kWideMagenta, Align::Right));
  }
  canvas.Text(153, 305, "NB O2", DefaultText(kNarrowRed, Align::Right));
  const TextStyle plain = DefaultText(colour::kText, Align::Right);
  if (wideband) {
    canvas.Text(218, 305, "WB O2", DefaultText(kWideMagenta, Align::Right));
    canvas.Text(38, 305, "mV", plain);
    canvas.Text(83, 305, "AFR", plain);
  } else {
    canvas.Text(83, 305, "mV", plain);
  }
  canvas.Text(78, 532, "Seconds:", plain);
}

}  // namespace vantor::ui
