#include "ui/qt/alert_sound.h"

#include <QApplication>

namespace vantor::ui {

// QApplication::beep is silent where the platform has no bell.
void AlertSound::Play() {
  if (queued_.exchange(true)) return;
  QMetaObject::invokeMethod(this, [this] {
    queued_ = false;
    ++played_;
    QApplication::beep();
  }, Qt::QueuedConnection);
}

}  // namespace vantor::ui
