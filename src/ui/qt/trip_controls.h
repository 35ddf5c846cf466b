#pragma once
// The trip display's "Clear Data" button, present while the display is shown.

#include <QObject>

#include "ui/qt/display_buttons.h"

class QPushButton;
class QWidget;

namespace vantor::ui {

class TripDisplay;

class TripControls final : public QObject {
  Q_OBJECT
 public:
  TripControls(TripDisplay& trip, DisplayControlHooks hooks) : trip_(trip), hooks_(std::move(hooks)) {}
  ~TripControls() override { Remove(); }

  void Create(QWidget* parent);
  void Remove();

 private:
  TripDisplay& trip_;
  DisplayControlHooks hooks_;
  QPushButton* clear_ = nullptr;
};

}  // namespace vantor::ui
