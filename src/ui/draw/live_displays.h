#pragma once
// The trip computer, spark knock map and sensor diagnostics displays of one
// window: registered as the painter's bodies and as the frame loop's
// consumers for as long as this object lives.

#include "live/frame_loop.h"
#include "settings/settings.h"
#include "ui/draw/diagnostics_display.h"
#include "ui/draw/display_painter.h"
#include "ui/draw/knock_display.h"
#include "ui/draw/trip_display.h"

namespace vantor::ui {

class LiveDisplays {
 public:
  LiveDisplays(const Settings& settings, const LiveView& view, StatusPanel& panel, DrawSurface& surface,
               DisplayPainter& painter, FrameLoop& loop);
  ~LiveDisplays();
  LiveDisplays(const LiveDisplays&) = delete;
  LiveDisplays& operator=(const LiveDisplays&) = delete;

  TripDisplay& Trip() { return trip_; }
  KnockDisplay& Knock() { return knock_; }
  DiagnosticsDisplay& Diagnostics() { return diagnostics_; }

 private:
  DisplayPainter& painter_;
  FrameLoop& loop_;
  TripDisplay trip_;
  KnockDisplay knock_;
  DiagnosticsDisplay diagnostics_;
};

}  // namespace vantor::ui
