#pragma once
// PlaybackControls: "Pause" (every display), "<-BackUp" and the rate slider
// (gauge display only), present while a playback runs. Keys they receive go
// through keyFilter, so the window's keys work while a control has the focus.

#include <QObject>

class QPushButton;
class QSlider;
class QWidget;

namespace vantor {
class Playback;
struct Settings;
}  // namespace vantor

namespace vantor::ui {

class PlaybackControls final : public QObject {
  Q_OBJECT
 public:
  PlaybackControls(Playback& playback, const Settings& settings, QObject* keyFilter);
  ~PlaybackControls() override;

  void Create(QWidget* parent, bool onGauges);
  // True when there were controls to remove.
  bool Remove();
  // After the preferences changed [PBSPD]: the slider, if it exists, shows it.
  void ShowRate();
  // Whether widget is one of the controls (null is none).
  bool Owns(const QWidget* widget) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreatePause(QWidget* parent);
  void CreateBackUp(QWidget* parent);
  void CreateRateSlider(QWidget* parent);

  Playback& playback_;
  const Settings& settings_;
  QObject* keyFilter_;
  QPushButton* pause_ = nullptr;  // a push-like check box
  QPushButton* backUp_ = nullptr;
  QSlider* rate_ = nullptr;
  bool completesDoubleClick_ = false;
};

}  // namespace vantor::ui
