#pragma once
// PlaybackControls: "Pause" (every display), "<-BackUp" and the rate slider
// (gauge display only), present while a playback runs. The window passes
// the keys they receive on to its own key handling.

#include "ui/window/window_host.h"

namespace vantor {
class Playback;
struct Settings;
}  // namespace vantor

namespace vantor::ui {

class PlaybackControls {
 public:
  static constexpr int kPause = 100, kBackUp = 101, kRate = 102;

  PlaybackControls(WindowHost& window, Playback& playback, const Settings& settings);

  // Each control is made when missing: "Pause" stays from another display.
  void Create(bool onGauges);
  // True when there were controls to remove.
  bool Remove();
  // After the preferences changed [PBSPD]: the slider, if it exists, shows it.
  void ShowRate();
  bool Owns(int id) const { return id >= kPause && id <= kRate; }
  // A notice of one of them.
  void Handle(const ControlEvent& event);

 private:
  WindowHost& window_;
  Playback& playback_;
  const Settings& settings_;
  bool pause_ = false, backUp_ = false, rate_ = false;
  bool completesDoubleClick_ = false;
};

}  // namespace vantor::ui
