#include "ui/draw/gauge_display.h"

#include <algorithm>
#include <cstdio>

#include "live/live_frame.h"

namespace vantor::ui {
namespace {

constexpr Rgb kFace{180, 180, 180};
constexpr Rgb kFaceEdge{10, 10, 10};
constexpr Rgb kScaleBlue{30, 80, 150};
constexpr Rgb kBlack{0, 0, 0};

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char text[96];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

Rect FaceBox(Point centre) { return Rect{centre.x - 76, centre.y - 76, centre.x + 76, centre.y + 76}; }
Rect ScaleBox(Point centre) { return Rect{centre.x - 74, centre.y - 74, centre.x + 74, centre.y + 74}; }

void DrawFaceAndArc(Canvas& canvas, Point centre) {
  canvas.Ellipse(FaceBox(centre), kFace, Pen{kFaceEdge, 2});
  canvas.Arc(ScaleBox(centre), DialPoint(centre, 76, 315), DialPoint(centre, 76, 45), Pen{kScaleBlue, 4});
}

void DrawTicks(Canvas& canvas, Point centre, const DialScale& scale, double labelRadius, int labelStep) {
  for (int k = 0; k <= scale.intervals; ++k) {
    const double d = kZeroAngle + k * scale.step;
    canvas.Line(DialPoint(centre, 76, d), DialPoint(centre, 66, d), Pen{kBlack, 2});
    const Point at = DialPoint(centre, labelRadius, d);
    TextStyle label{FontId::Default, kBlack, kFace, false, Align::Centre};
    canvas.Text(at.x, at.y - 6, Format("%d", k * labelStep), label);
  }
  for (int k = 0; k < scale.intervals; ++k) {
    const double d = kZeroAngle + scale.step / 2 + k * scale.step;
    canvas.Line(DialPoint(centre, 76, d), DialPoint(centre, 70, d), Pen{kBlack, 2});
  }
}

TextStyle DialValueStyle() { return TextStyle{FontId::Default, colour::kBackground, kFace, true, Align::Left}; }

// A large readout: its caption on the face, its value right-aligned.
struct Readout {
  int captionX, y;
  const char* caption;
  int valueRight;
};
constexpr Readout kIntReadout{640, 145, "INT:  ", 770};
constexpr Readout kBlmReadout{640, 175, "BLM:  ", 770};
constexpr Readout kAfrReadout{640, 205, "cAFR: ", 770};
constexpr Readout kWbReadout{640, 235, "WB:   ", 770};
constexpr Readout kFuelReadout{20, 235, "Fuel:   ", 135};

TextStyle LargeText() {
  TextStyle large;
  large.font = FontId::Large;
  return large;
}

void DrawReadoutCaption(Canvas& canvas, const Readout& readout) {
  canvas.Text(readout.captionX, readout.y, readout.caption, LargeText());
}

// The value's leading blanks erase a longer value before it, but stop at the
// end of the caption's last character, so the two never erase each other.
void DrawReadoutValue(Canvas& canvas, const Readout& readout, const std::string& value) {
  std::string_view caption = readout.caption;
  caption = caption.substr(0, caption.find_last_not_of(' ') + 1);
  const int captionEnd = readout.captionX + canvas.TextWidth(caption, FontId::Large);
  const int left = std::max(readout.valueRight - canvas.TextWidth(value, FontId::Large), captionEnd);
  canvas.FillRect(Rect{left, readout.y, readout.valueRight, readout.y + canvas.LineHeight(FontId::Large)},
                  colour::kBackground);
  TextStyle style = LargeText();
  style.opaque = false;
  style.align = Align::Right;
  canvas.Text(readout.valueRight, readout.y, value, style);
}

}  // namespace

std::string GearText(const std::uint8_t* frame, int transType) {
  if (transType == 0) return Format("  %1d  ", std::min<int>(frame[frame::kGear], 9));
  if (frame[frame::kFlags15] & 0x10) return " P/N ";
  if (frame[frame::kTransRange] & 0x04) return " OD ";
  if (frame[frame::kTransRange] & 0x02) return "   3   ";
  return " 1/2 ";
}

double DutyCyclePercent(const std::uint8_t* frame, double rpm) {
  if (rpm <= 0) return 0.0;
  const double pulseMs = frame::Word(frame, frame::kBasePw) * 0.0152587890625;
  const double duty = pulseMs / ((1.0 / (rpm / 60.0)) * 2000.0) * 100.0;
  return std::min(duty, 255.0);
}

GaugeDisplay::GaugeDisplay(const Settings& settings, const LiveView& view, StatusPanel& panel, DrawSurface& surface)
    : settings_(settings),
      view_(view),
      panel_(panel),
      surface_(surface),
      bars_(MakeBarTable()),
      lamps_(MakeLampTable()),
      speedoNeedle_(DialPoint(kSpeedoCentre, kNeedleRadius, kZeroAngle)),
      tachoNeedle_(DialPoint(kTachoCentre, kNeedleRadius, kZeroAngle)) {}

void GaugeDisplay::OnFrame(const std::uint8_t* data, bool draw) {
  DrawScope scope(surface_);
  panel_.Update(data);
  UpdateValues(data);
  if (++redrawCounter_ > settings_.updateDivisor && draw) {
    redrawCounter_ = 0;
    panel_.DrawValues(scope.canvas(), true);
    DrawDynamic(scope.canvas());
  }
}

void GaugeDisplay::UpdateValues(const std::uint8_t* data) {
  const double speed = data[frame::kSpeed] * (settings_.kphOrMph == 1 ? 1.609344 : 1.0);
  speed_ = static_cast<int>(speed);
  rpm_ = view_.Rpm();
  intCode_ = data[frame::kInt];
  blmCode_ = data[frame::kBlm];
  commandedAfr_ = data[frame::kCommandedAfr] / 10.0;
  gearText_ = GearText(data, settings_.transType);
  wideband_ = view_.Wideband();
  fuel_ = view_.FuelPressure();
  const int mapBar = panel_.Values().mapSensorBar;
  for (BarGauge& bar : bars_) {
    switch (bar.source) {
      case BarSource::Byte: bar.value = ConvertBarValue(bar, data[bar.offset]); break;
      case BarSource::Word: bar.value = ConvertBarValue(bar, frame::Word(data, bar.offset)); break;
      case BarSource::DutyCycle: bar.value = DutyCyclePercent(data, rpm_); break;
      case BarSource::Knock: bar.value = view_.KnockCount(data); break;
      case BarSource::Boost: {
        bar.value = BoostPsi(mapBar, data[bar.offset]);
        const double max = BoostScaleMax(mapBar, boostMax_);
        if (max != boostMax_) {
          boostMax_ = max;
          bar.max = max;
          bar.step = max == 30.0 ? 10.0 : 5.0;
          surface_.InvalidateAll();
        }
        break;
      }
    }
  }
  for (ModeLamp& lamp : lamps_) lamp.state = LampState(lamp, data);
}

void GaugeDisplay::DrawFace(Canvas& canvas) {
  DrawSpeedoFace(canvas);
  DrawTachoFace(canvas);
  for (BarGauge& bar : bars_)
    if (BarShown(bar, settings_.temperScale)) DrawBarFace(canvas, bar);
  for (ModeLamp& lamp : lamps_) DrawLampFace(canvas, lamp);
  DrawCaptions(canvas);
}

void GaugeDisplay::DrawSpeedoFace(Canvas& canvas) {
  DrawFaceAndArc(canvas, kSpeedoCentre);
  const DialScale scale = SpeedoScale(settings_.mphRange);
  DrawTicks(canvas, kSpeedoCentre, scale, 91, scale.labelStep);
  const std::string unit = settings_.kphOrMph == 1 ? "KPH" : "MPH";
  canvas.Text(280 - static_cast<int>(unit.size() / 2) * 14, 232, unit, DialValueStyle());
}

void GaugeDisplay::DrawTachoFace(Canvas& canvas) {
  DrawFaceAndArc(canvas, kTachoCentre);
  const double redline = RedlineAngle(settings_.rdln, settings_.rpmRange);
  if (redline < 315.0)
    canvas.Arc(ScaleBox(kTachoCentre), DialPoint(kTachoCentre, 76, 315), DialPoint(kTachoCentre, 76, redline),
               Pen{colour::kAttention, 4});
  const DialScale scale = TachoScale(settings_.rpmRange);
  const int hundreds = std::max(settings_.rpmRange / 100, 1);
  for (int k = 0; k < 10 * scale.intervals; ++k) {
    const double d = kZeroAngle + k * kScaleSweep / hundreds;
    canvas.Line(DialPoint(kTachoCentre, 76, d), DialPoint(kTachoCentre, 73, d), Pen{kFaceEdge, 1});
  }
  DrawTicks(canvas, kTachoCentre, scale, 90, 1);
  canvas.Text(520 - 1 * 14, 232, "RPM", DialValueStyle());
}

void GaugeDisplay::DrawCaptions(Canvas& canvas) {
  canvas.Text(387, 127, "Gear", TextStyle{});
  for (const Readout* readout : {&kIntReadout, &kBlmReadout, &kAfrReadout}) DrawReadoutCaption(canvas, *readout);
  // From the channel configuration, not from the last frame: the face is
  // painted before the first frame arrives.
  const ChannelReading wideband = view_.Wideband();
  if (wideband.configured) {
    DrawReadoutCaption(canvas, kWbReadout);
    canvas.Text(640, 265, Format("%s  Ch: %d  ", wideband.deviceName.c_str(), wideband.channel), TextStyle{});
  }
  const ChannelReading fuel = view_.FuelPressure();
  if (fuel.configured) {
    DrawReadoutCaption(canvas, kFuelReadout);
    canvas.Text(20, 265, Format("%s  Ch: %d  ", fuel.deviceName.c_str(), fuel.channel), TextStyle{});
  }
}

void GaugeDisplay::DrawNeedle(Canvas& canvas, Point centre, Point& lastEnd, double value, double fullScale) {
  canvas.Line(centre, lastEnd, Pen{kFace, 3});
  lastEnd = DialPoint(centre, kNeedleRadius, NeedleAngle(value, fullScale));
  canvas.Line(centre, lastEnd, Pen{colour::kAttention, 3});
}

void GaugeDisplay::DrawDynamic(Canvas& canvas) {
  DrawNeedle(canvas, kSpeedoCentre, speedoNeedle_, speed_, settings_.mphRange);
  const std::string speedText = Format(" %3d   ", speed_);
  canvas.Text(280 - static_cast<int>(speedText.size() / 2) * 5, 248, speedText, DialValueStyle());
  DrawNeedle(canvas, kTachoCentre, tachoNeedle_, rpm_, settings_.rpmRange);
  const std::string rpmText = Format("  %4d   ", static_cast<int>(rpm_));
  canvas.Text(518 - static_cast<int>(rpmText.size() / 2) * 5, 248, rpmText, DialValueStyle());
  for (BarGauge& bar : bars_)
    if (BarShown(bar, settings_.temperScale)) DrawBarLevel(canvas, bar);
  DrawLamps(canvas, lamps_);
  DrawReadouts(canvas);
}

void GaugeDisplay::DrawReadouts(Canvas& canvas) {
  TextStyle gear = LargeText();
  gear.align = Align::Centre;
  canvas.Text(405, 145, gearText_, gear);
  DrawReadoutValue(canvas, kIntReadout, Format("  %3d", intCode_));
  DrawReadoutValue(canvas, kBlmReadout, Format("  %3d", blmCode_));
  DrawReadoutValue(canvas, kAfrReadout, Format("  %4.1f", commandedAfr_));
  if (wideband_.configured) DrawReadoutValue(canvas, kWbReadout, Format("  %3.1f", wideband_.value));
  if (fuel_.configured) DrawReadoutValue(canvas, kFuelReadout, Format("  %3.1f", fuel_.value));
}

}  // namespace vantor::ui
