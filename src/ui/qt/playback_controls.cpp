#include "ui/qt/playback_controls.h"

#include <QEvent>
#include <QPushButton>
#include <QSlider>

#include "logs/playback.h"
#include "settings/settings.h"

namespace vantor::ui {

PlaybackControls::PlaybackControls(Playback& playback, const Settings& settings, QObject* keyFilter)
    : playback_(playback), settings_(settings), keyFilter_(keyFilter) {}

PlaybackControls::~PlaybackControls() { Remove(); }

// Each control is made when missing: "Pause" stays from another display,
// while "<-BackUp" and the slider are gauge-display controls only.
void PlaybackControls::Create(QWidget* parent, bool onGauges) {
  if (!playback_.Playing()) return;
  if (!pause_) CreatePause(parent);
  if (!onGauges) return;
  if (!backUp_) CreateBackUp(parent);
  if (!rate_) CreateRateSlider(parent);
}

void PlaybackControls::CreatePause(QWidget* parent) {
  pause_ = new QPushButton("Pause", parent);
  pause_->setCheckable(true);
  pause_->setChecked(playback_.Paused());
  pause_->setGeometry(710, 43, 70, 20);
  connect(pause_, &QPushButton::toggled, this, [this](bool on) { playback_.SetPaused(on); });
  pause_->installEventFilter(keyFilter_);
  pause_->show();
  pause_->setFocus();
}

// Each click backs up 2 seconds; the click that completes a double click 6.
void PlaybackControls::CreateBackUp(QWidget* parent) {
  backUp_ = new QPushButton("<-BackUp", parent);
  backUp_->setGeometry(710, 71, 70, 20);
  completesDoubleClick_ = false;
  connect(backUp_, &QPushButton::clicked, this, [this] {
    playback_.AddBackUp(completesDoubleClick_ ? 6 : 2);
    completesDoubleClick_ = false;
  });
  backUp_->installEventFilter(this);
  backUp_->installEventFilter(keyFilter_);
  backUp_->show();
}

// Left is slow, right is fast: position = 100 - [PBSPD].
void PlaybackControls::CreateRateSlider(QWidget* parent) {
  rate_ = new QSlider(Qt::Horizontal, parent);
  rate_->setGeometry(635, 99, 150, 22);
  rate_->setRange(0, 100);
  rate_->setTickInterval(10);
  rate_->setTickPosition(QSlider::TicksBelow);
  rate_->setValue(100 - settings_.pbSpd);
  connect(rate_, &QSlider::valueChanged, this, [this](int position) { playback_.SetRate(100 - position); });
  rate_->installEventFilter(keyFilter_);
  rate_->show();
  rate_->setFocus();
}

bool PlaybackControls::Remove() {
  const bool had = pause_ || backUp_ || rate_;
  delete pause_;
  delete backUp_;
  delete rate_;
  pause_ = nullptr;
  backUp_ = nullptr;
  rate_ = nullptr;
  return had;
}

bool PlaybackControls::eventFilter(QObject* watched, QEvent* event) {
  if (watched == backUp_ && event->type() == QEvent::MouseButtonDblClick) completesDoubleClick_ = true;
  return QObject::eventFilter(watched, event);
}

bool PlaybackControls::Owns(const QWidget* widget) const {
  return widget && (widget == pause_ || widget == backUp_ || widget == rate_);
}

void PlaybackControls::ShowRate() {
  if (rate_) rate_->setValue(100 - settings_.pbSpd);
}

}  // namespace vantor::ui
