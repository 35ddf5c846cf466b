#include "ui/qt/trip_controls.h"

#include <QPushButton>

#include "ui/draw/trip_display.h"

namespace vantor::ui {

void TripControls::Create(QWidget* parent) {
  if (clear_) return;
  clear_ = CreateClearButton(parent, 705, 74, hooks_, [this] { trip_.ClearData(); });
}

void TripControls::Remove() {
  delete clear_;
  clear_ = nullptr;
}

}  // namespace vantor::ui
