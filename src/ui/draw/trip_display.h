#pragma once
// The trip display: instant and average economy, engine speed, distance,
// fuel used and the wideband ratio in block digits, the MAP bar and the
// power-enrichment / lean-cruise banner. Every frame feeds the trip computer;
// every (updateDivisor + 1)-th frame on screen redraws what changed.
// Threads: OnFrame runs on the display thread, Paint on the user-interface
// thread; all state is touched under the surface's lock.

#include <array>
#include <cstdint>

#include "live/frame_consumer.h"
#include "settings/settings.h"
#include "ui/draw/block_digits.h"
#include "ui/draw/display_painter.h"
#include "ui/draw/draw_surface.h"
#include "ui/draw/live_view.h"
#include "ui/draw/status_panel.h"
#include "ui/draw/trip_computer.h"

namespace vantor::ui {

enum class TripBanner { None = 0, LeanCruise = 1, PowerEnrichment = 2 };

class TripDisplay final : public FrameConsumer, public DisplayBody {
 public:
  TripDisplay(const Settings& settings, const LiveView& view, StatusPanel& panel, DrawSurface& surface);

  void OnFrame(const std::uint8_t* data, bool draw) override;
  // Paint request (surface locked by the caller): the face, then every value.
  void Paint(Canvas& canvas) override;

  // These take the surface's lock themselves.
  void ResetSampling();
  void ClearData();
  void StoreTotals(Settings& settings) const { computer_.StoreTotals(settings); }

 private:
  void DrawFace(Canvas& canvas);
  void DrawValues(Canvas& canvas, bool full);
  void DrawDistance(Canvas& canvas, long tenths, bool full);
  void DrawBanner(Canvas& canvas, bool full);
  void DrawMapBar(Canvas& canvas);
  bool Metric() const { return settings_.kphOrMph == 1; }

  const Settings& settings_;
  const LiveView& view_;
  StatusPanel& panel_;
  DrawSurface& surface_;
  TripComputer computer_;

  BlockNumber instant_{GlyphSize::Large, 122, {187, 267}, -1, 0, 1};
  BlockNumber average_{GlyphSize::Large, 122, {460, 540, 640}, 600, 2, 1};
  BlockNumber rpm_{GlyphSize::Large, 302, {26, 106, 186, 266}, -1, 0, 1};
  BlockNumber distance_{GlyphSize::Large, 302, {440, 520, 600, 700}, 660, 3, 2};
  BlockNumber distanceWhole_{GlyphSize::Large, 302, {440, 520, 600, 680}, -1, 0, 2};
  BlockNumber wideband_{GlyphSize::Small, 432, {116, 156, 212}, 196, 2, 1};
  BlockNumber fuel_{GlyphSize::Small, 432, {480, 520, 560, 616, 656}, 600, 3, 2};
  bool distanceInWholes_ = false;
  TripBanner banner_ = TripBanner::None;

  int mapSensorBar_ = 1;         // of the latest frame
  int paintedMapSensorBar_ = 1;  // of the face on screen
  double mapValue_ = 0.0;
  std::array<int, 3> barTops_{};  // last drawn top per sensor type
  int redrawCounter_ = 0;
};

}  // namespace vantor::ui
