#pragma once
// A display rendered without a window: the same panel, gauges and painter as
// the main window, drawing into a software canvas. Frames of a log file go
// through the frame processing loop exactly as on the display thread, here on
// the caller's thread. Used for screenshots.

#include <cstdint>
#include <optional>
#include <string>

#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/display_state.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "settings/settings.h"
#include "ui/draw/activity_spinner.h"
#include "ui/draw/display_painter.h"
#include "ui/draw/gauge_display.h"
#include "ui/draw/live_data_view.h"
#include "ui/draw/live_displays.h"
#include "ui/draw/raster_canvas.h"
#include "ui/draw/status_panel.h"
#include "ui/draw/ve_learn_display.h"
#include "velearn/ve_learn.h"

namespace vantor::ui {

// The menu names of the displays ("gauges" or "vantor", "trip", "ve", "knock", "diag", ...).
std::optional<DisplayMode> DisplayByName(const std::string& name);

class RasterSurface final : public DrawSurface {
 public:
  explicit RasterSurface(RasterCanvas& canvas) : canvas_(canvas) {}
  Canvas& Begin() override { return canvas_; }
  void End() override {}
  void InvalidateAll() override { invalidated_ = true; }
  bool TakeInvalidated() {
    const bool was = invalidated_;
    invalidated_ = false;
    return was;
  }

 private:
  RasterCanvas& canvas_;
  bool invalidated_ = false;
};

class HeadlessDisplay {
 public:
  HeadlessDisplay(const Settings& settings, DisplayMode mode);
  ~HeadlessDisplay();
  HeadlessDisplay(const HeadlessDisplay&) = delete;
  HeadlessDisplay& operator=(const HeadlessDisplay&) = delete;

  void Paint();
  // A display body drawn by someone else (the Flash display).
  void SetBody(DisplayMode mode, DisplayBody* body) { painter_.SetBody(mode, body); }
  // Processes up to limit frames of the log; the number processed, or -1
  // when the file cannot be opened.
  long FeedLog(const std::string& path, long limit);
  // Repaints when a frame asked for it (the boost scale changed).
  void Settle();

  const RasterCanvas& Canvas() const { return canvas_; }
  // The floating windows register here (headless tool windows).
  FrameLoop& Loop() { return loop_; }
  const LiveData& Live() const { return live_; }
  const std::string& LastMessage() const { return lastMessage_; }

 private:
  Settings settings_;
  DisplayMode mode_;
  LiveData live_;
  AdcChannels channels_;
  DisplayState state_;
  ByteSources sources_;
  FrameLoop loop_;
  LiveDataView view_;
  ActivitySpinner spinner_;
  StatusPanel panel_;
  RasterCanvas canvas_;
  RasterSurface surface_;
  GaugeDisplay gauges_;
  DisplayPainter painter_;
  LiveDisplays displays_;
  VeLearn veLearn_;
  VeLearnDisplay veDisplay_;
  std::string lastMessage_;
};

}  // namespace vantor::ui
