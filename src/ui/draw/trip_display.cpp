#include "ui/draw/trip_display.h"

#include "ui/draw/trip_map_bar.h"

namespace vantor::ui {
namespace {

constexpr Rect kBannerArea{200, 512, 600, 550};
constexpr Rgb kPowerRed{232, 32, 32};
constexpr long kLargestTenths = 9999;

TextStyle BannerText() {
  TextStyle style;
  style.font = FontId::Oem;
  style.colour = colour::kBackground;
  style.opaque = false;
  return style;
}

}  // namespace

TripDisplay::TripDisplay(const Settings& settings, const LiveView& view, StatusPanel& panel, DrawSurface& surface)
    : settings_(settings), view_(view), panel_(panel), surface_(surface), computer_(settings) {
  for (int bar = 1; bar <= 3; ++bar) barTops_[bar - 1] = TripMapBarFor(bar).height;
}

void TripDisplay::OnFrame(const std::uint8_t* data, bool draw) {
  DrawScope scope(surface_);
  const TripPhase phase = computer_.AddFrame(data, static_cast<int>(view_.Rpm()), view_.EngineRunning());
  if (phase == TripPhase::Ignored) return;
  mapSensorBar_ = PanelValuesOf(data).mapSensorBar;
  mapValue_ = TripMapValue(TripMapBarFor(mapSensorBar_), data);
  if (phase != TripPhase::Ready) return;
  if (++redrawCounter_ > settings_.updateDivisor && draw) {
    redrawCounter_ = 0;
    panel_.Update(data);
    panel_.DrawValues(scope.canvas(), false);
    DrawValues(scope.canvas(), false);
  }
}

void TripDisplay::ResetSampling() {
  DrawScope scope(surface_);
  computer_.ResetSampling();
  redrawCounter_ = settings_.updateDivisor;
}

void TripDisplay::ClearData() {
  DrawScope scope(surface_);
  computer_.Clear();
  redrawCounter_ = settings_.updateDivisor;
}

void TripDisplay::Paint(Canvas& canvas) {
  paintedMapSensorBar_ = mapSensorBar_;
  DrawFace(canvas);
  DrawValues(canvas, true);
}

void TripDisplay::DrawFace(Canvas& canvas) {
  const bool metric = Metric();
  const TextStyle text;
  canvas.Text(219, 218, metric ? "Instant Km/L" : " Instant MPG", text);
  canvas.Text(540, 218, metric ? "Average Km/L" : " Average MPG", text);
  canvas.Text(166, 398, "RPM", text);
  canvas.Text(570, 398, metric ? "  Km Traveled " : "Miles Traveled", text);
  canvas.Text(554, 492, metric ? " Litres Consumed" : "Gallons Consumed", text);
  if (view_.Wideband().configured) canvas.Text(152, 492, "WB AFR", text);
  DrawTripBarFace(canvas, TripMapBarFor(paintedMapSensorBar_), barTops_[paintedMapSensorBar_ - 1]);
}

void TripDisplay::DrawValues(Canvas& canvas, bool full) {
  const TripResults results = computer_.Compute(Metric(), static_cast<int>(view_.Rpm()));
  instant_.Draw(canvas, results.instant, full);
  average_.Draw(canvas, results.averageTenths, full);
  rpm_.Draw(canvas, results.rpm, full);
  DrawDistance(canvas, results.distanceTenths, full);
  const ChannelReading wideband = view_.Wideband();
  const long widebandTenths = computer_.Cleared() ? 0 : static_cast<long>(wideband.value * 10.0);
  if (wideband.configured) wideband_.Draw(canvas, widebandTenths, full);
  fuel_.Draw(canvas, results.fuelHundredths, full);
  DrawBanner(canvas, full);
  DrawMapBar(canvas);
}

// Up to 999.9 in tenths; beyond, whole units over the first four positions,
// with the point and the old last digit blanked when the layout changes.
void TripDisplay::DrawDistance(Canvas& canvas, long tenths, bool full) {
  const bool wholes = tenths > kLargestTenths;
  if (wholes != distanceInWholes_ && !full) {
    if (wholes) {
      DrawBlockPointBlank(canvas, GlyphSize::Large, 660, 302);
      DrawBlockDigit(canvas, GlyphSize::Large, 700, 302, kBlankGlyph);
    } else {
      DrawBlockDigit(canvas, GlyphSize::Large, 680, 302, kBlankGlyph);
    }
    full = true;
  }
  distanceInWholes_ = wholes;
  if (wholes)
    distanceWhole_.Draw(canvas, tenths / 10, full);
  else
    distance_.Draw(canvas, tenths, full);
}

void TripDisplay::DrawBanner(Canvas& canvas, bool full) {
  const TripBanner state = computer_.PowerEnrichment() ? TripBanner::PowerEnrichment
                           : computer_.LeanCruise()    ? TripBanner::LeanCruise
                                                       : TripBanner::None;
  if (state == banner_ && !full) return;
  canvas.FillRect(kBannerArea, colour::kBackground);
  if (state == TripBanner::PowerEnrichment) {
    canvas.FillRect(Rect{225, 512, 575, 550}, kPowerRed);
    canvas.Text(375, 527, "PE MODE", BannerText());
  } else if (state == TripBanner::LeanCruise) {
    canvas.FillRect(Rect{200, 520, 600, 540}, colour::kText);
    canvas.Text(360, 526, "Lean Cruise", BannerText());
  }
  banner_ = state;
}

// A change of the sensor type repaints the window with the other bar's face.
void TripDisplay::DrawMapBar(Canvas& canvas) {
  if (mapSensorBar_ != paintedMapSensorBar_) {
    surface_.InvalidateAll();
    return;
  }
  const TripMapBar& bar = TripMapBarFor(mapSensorBar_);
  DrawTripBarLevel(canvas, bar, barTops_[mapSensorBar_ - 1], computer_.Cleared() ? bar.min : mapValue_);
}

}  // namespace vantor::ui
