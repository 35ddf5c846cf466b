#pragma once
// The sensor diagnostics display: boxes of raw counts and converted values
// (a box is rewritten only when what it shows changed) and a strip chart of
// the narrow-band oxygen sensor and, when configured, the wideband ratio,
// scrolled on every frame while on screen.
// Threads: OnFrame runs on the display thread, Paint on the user-interface
// thread; all state is touched under the surface's lock.

#include <array>
#include <cstdint>
#include <string>

#include "live/frame_consumer.h"
#include "settings/settings.h"
#include "ui/draw/diagnostics_values.h"
#include "ui/draw/display_painter.h"
#include "ui/draw/draw_surface.h"
#include "ui/draw/live_view.h"
#include "ui/draw/status_panel.h"

namespace vantor::ui {

class DiagnosticsDisplay final : public FrameConsumer, public DisplayBody {
 public:
  DiagnosticsDisplay(const Settings& settings, const LiveView& view, StatusPanel& panel, DrawSurface& surface);

  void OnFrame(const std::uint8_t* data, bool draw) override;
  void Paint(Canvas& canvas) override;

  const DiagnosticValues& Values() const { return values_; }
  double ChartRatio() const { return chartAfr_; }

 private:
  enum Box { kRpm, kSpeed, kMap, kTps, kCts, kIat, kO2, kBoxCount };
  static constexpr int kMaxTexts = 3;
  struct BoxTexts {
    std::array<std::string, kMaxTexts> texts;
    friend bool operator==(const BoxTexts&, const BoxTexts&) = default;
  };

  void DrawFace(Canvas& canvas);
  void DrawChartFace(Canvas& canvas, bool wideband);
  void DrawValues(Canvas& canvas, bool full);
  void DrawBox(Canvas& canvas, Box box, const BoxTexts& texts);
  void DrawChart(Canvas& canvas);
  BoxTexts TextsOf(Box box) const;

  const Settings& settings_;
  const LiveView& view_;
  StatusPanel& panel_;
  DrawSurface& surface_;
  DiagnosticValues values_;
  std::array<BoxTexts, kBoxCount> drawn_{};
  std::array<bool, kBoxCount> everDrawn_{};
  int lastNarrowY_ = 425;
  int lastWideY_ = 425;
  double chartAfr_ = kChartAfrLow;
};

}  // namespace vantor::ui
