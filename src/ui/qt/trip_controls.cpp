#include "ui/qt/trip_controls.h"

#include <QPushButton>

#include "ui/draw/trip_display.h"
#include "ui/qt/display_buttons.h"

namespace vantor::ui {

TripControls::TripControls(TripDisplay& trip, SuspendedWork whileSuspended, std::function<void()> repaint,
                           QObject* keyFilter)
    : trip_(trip), whileSuspended_(std::move(whileSuspended)), repaint_(std::move(repaint)), keyFilter_(keyFilter) {}

TripControls::~TripControls() { Remove(); }

void TripControls::Create(QWidget* parent) {
  if (clear_) return;
  clear_ = new QPushButton("Clear Data", parent);
  connect(clear_, &QPushButton::clicked, this, [this] {
    whileSuspended_([this] { trip_.ClearData(); });
    repaint_();
  });
  PlaceButton(clear_, 705, 74, 80, 30, keyFilter_);
}

void TripControls::Remove() {
  delete clear_;
  clear_ = nullptr;
}

}  // namespace vantor::ui
