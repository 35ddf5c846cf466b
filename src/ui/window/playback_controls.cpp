#include "ui/window/playback_controls.h"

#include "logs/playback.h"
#include "settings/settings.h"
#include "ui/window/window_controls.h"

namespace vantor::ui {

using namespace control_style;

PlaybackControls::PlaybackControls(WindowHost& window, Playback& playback, const Settings& settings)
    : window_(window), playback_(playback), settings_(settings) {}

void PlaybackControls::Create(bool onGauges) {
  if (!playback_.Playing()) return;
  if (!pause_) {
    window_.CreateControl(Control(kPause, ControlKind::CheckBox, "Pause", 710, 43, 70, 20, kPushLike));
    window_.SetChecked(kPause, playback_.Paused());
    window_.Focus(kPause, false);
    pause_ = true;
  }
  if (!onGauges) return;
  if (!backUp_) {
    window_.CreateControl(Control(kBackUp, ControlKind::Button, "<-BackUp", 710, 71, 70, 20, kDoubleClicks));
    completesDoubleClick_ = false;
    backUp_ = true;
  }
  if (!rate_) {
    // Left is slow, right is fast: position = 100 - [PBSPD].
    window_.CreateControl(Control(kRate, ControlKind::Trackbar, "", 635, 99, 150, 22, kHorizontal | kTicks));
    window_.SetRange(kRate, 0, 100, 10);
    window_.SetValue(kRate, 100 - settings_.pbSpd);
    window_.Focus(kRate, false);
    rate_ = true;
  }
}

bool PlaybackControls::Remove() {
  const bool had = pause_ || backUp_ || rate_;
  for (auto [present, id] : {std::pair{&pause_, kPause}, std::pair{&backUp_, kBackUp}, std::pair{&rate_, kRate}}) {
    if (*present) window_.DestroyControl(id);
    *present = false;
  }
  return had;
}

void PlaybackControls::ShowRate() {
  if (rate_) window_.SetValue(kRate, 100 - settings_.pbSpd);
}

// Each click on "<-BackUp" backs up 2 seconds; the click that completes a double click 6.
void PlaybackControls::Handle(const ControlEvent& event) {
  switch (event.id) {
    case kPause:
      if (event.action == ControlAction::Clicked) playback_.SetPaused(event.value != 0);
      break;
    case kBackUp:
      if (event.action == ControlAction::DoubleClicked) {
        completesDoubleClick_ = true;
      } else if (event.action == ControlAction::Clicked) {
        playback_.AddBackUp(completesDoubleClick_ ? 6 : 2);
        completesDoubleClick_ = false;
      }
      break;
    case kRate:
      if (event.action == ControlAction::Changed) playback_.SetRate(100 - event.value);
      break;
    default: break;
  }
}

}  // namespace vantor::ui
