#include "ui/window/alert_sound.h"

namespace vantor::ui {

void AlertSound::Play() {
  if (queued_.exchange(true)) return;
  host_.Post([this] {
    queued_ = false;
    ++played_;
    host_.Beep();
  });
}

}  // namespace vantor::ui
