#pragma once
// A paint request of the main window's client area: background, status
// panel, the display's title, then its body. Displays built later register
// their body; until then a display shows its empty face.

#include <array>

#include "live/frame_consumer.h"
#include "ui/canvas.h"
#include "ui/draw/gauge_display.h"
#include "ui/draw/status_panel.h"

namespace vantor::ui {

class DisplayBody {
 public:
  virtual ~DisplayBody() = default;
  virtual void Paint(Canvas& canvas) = 0;
};

struct DisplayTitle {
  const char* text;
  int x;
};
// Titles of the five live displays; nullptr text for Analysis and Flash.
DisplayTitle TitleOf(DisplayMode mode);
bool IsLiveDisplay(DisplayMode mode);

class DisplayPainter {
 public:
  DisplayPainter(const LiveView& view, StatusPanel& panel, GaugeDisplay& gauges);
  void SetBody(DisplayMode mode, DisplayBody* body);
  // The whole client area; the caller holds the surface's lock.
  void Paint(Canvas& canvas, DisplayMode mode);

 private:
  const LiveView& view_;
  StatusPanel& panel_;
  GaugeDisplay& gauges_;
  std::array<DisplayBody*, 8> bodies_{};
};

}  // namespace vantor::ui
