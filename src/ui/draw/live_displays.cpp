#include "ui/draw/live_displays.h"

namespace vantor::ui {

LiveDisplays::LiveDisplays(const Settings& settings, const LiveView& view, StatusPanel& panel, DrawSurface& surface,
                           DisplayPainter& painter, FrameLoop& loop)
    : painter_(painter),
      loop_(loop),
      trip_(settings, view, panel, surface),
      knock_(settings, view, panel, surface),
      diagnostics_(settings, view, panel, surface) {
  painter_.SetBody(DisplayMode::Trip, &trip_);
  painter_.SetBody(DisplayMode::SparkKnock, &knock_);
  painter_.SetBody(DisplayMode::Diagnostic, &diagnostics_);
  loop_.SetConsumer(ConsumerSlot::Trip, &trip_);
  loop_.SetConsumer(ConsumerSlot::Knock, &knock_);
  loop_.SetConsumer(ConsumerSlot::Diagnostics, &diagnostics_);
}

LiveDisplays::~LiveDisplays() {
  loop_.SetConsumer(ConsumerSlot::Trip, nullptr);
  loop_.SetConsumer(ConsumerSlot::Knock, nullptr);
  loop_.SetConsumer(ConsumerSlot::Diagnostics, nullptr);
  painter_.SetBody(DisplayMode::Trip, nullptr);
  painter_.SetBody(DisplayMode::SparkKnock, nullptr);
  painter_.SetBody(DisplayMode::Diagnostic, nullptr);
}

}  // namespace vantor::ui
