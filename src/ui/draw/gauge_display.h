#pragma once
// The gauge display: speedometer and tachometer dials, bar gauges, mode
// lamps, gear and large readouts. Every frame updates its values; every
// (updateDivisor + 1)-th frame on screen draws what changed.
// Threads: OnFrame runs on the display thread, the paint calls on the
// user-interface thread; all state is touched under the surface's lock.

#include <cstdint>
#include <string>

#include "live/frame_consumer.h"
#include "settings/settings.h"
#include "ui/draw/bar_gauge.h"
#include "ui/draw/dial_geometry.h"
#include "ui/draw/draw_surface.h"
#include "ui/draw/live_view.h"
#include "ui/draw/mode_lamp.h"
#include "ui/draw/status_panel.h"

namespace vantor::ui {

constexpr Point kSpeedoCentre{280, 210};
constexpr Point kTachoCentre{520, 210};

std::string GearText(const std::uint8_t* frame, int transType);
double DutyCyclePercent(const std::uint8_t* frame, double rpm);

class GaugeDisplay final : public FrameConsumer {
 public:
  GaugeDisplay(const Settings& settings, const LiveView& view, StatusPanel& panel, DrawSurface& surface);

  void OnFrame(const std::uint8_t* data, bool draw) override;

  // Paint request (surface locked by the caller): the face, then the values.
  void DrawFace(Canvas& canvas);
  void DrawDynamic(Canvas& canvas);

  const BarTable& Bars() const { return bars_; }
  const LampTable& Lamps() const { return lamps_; }
  Point SpeedoNeedle() const { return speedoNeedle_; }
  Point TachoNeedle() const { return tachoNeedle_; }

 private:
  void UpdateValues(const std::uint8_t* data);
  void DrawSpeedoFace(Canvas& canvas);
  void DrawTachoFace(Canvas& canvas);
  void DrawCaptions(Canvas& canvas);
  void DrawNeedle(Canvas& canvas, Point centre, Point& lastEnd, double value, double fullScale);
  void DrawReadouts(Canvas& canvas);

  const Settings& settings_;
  const LiveView& view_;
  StatusPanel& panel_;
  DrawSurface& surface_;

  BarTable bars_;
  LampTable lamps_;
  Point speedoNeedle_;
  Point tachoNeedle_;
  int speed_ = 0;
  double rpm_ = 0.0;
  int intCode_ = 0, blmCode_ = 0;
  double commandedAfr_ = 0.0;
  std::string gearText_ = " 1/2 ";
  ChannelReading wideband_;
  ChannelReading fuel_;
  double boostMax_ = 15.0;
  int redrawCounter_ = 0;
};

}  // namespace vantor::ui
