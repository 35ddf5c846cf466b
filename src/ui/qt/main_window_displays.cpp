// The main window's trip, spark knock and diagnostics displays: built with
// the window, their controls created and torn down by display switching,
// and the frame loop's knock alert and trip sampling reset.

#include "ui/qt/main_window.h"

#include <chrono>

#include "ui/qt/alert_sound.h"
#include "ui/qt/client_view.h"
#include "ui/qt/knock_controls.h"
#include "ui/qt/trip_controls.h"

namespace vantor::ui {
namespace {

constexpr auto kClearSuspendBound = std::chrono::milliseconds(500);

}  // namespace

void MainWindow::BuildLiveDisplays() {
  displays_ = std::make_unique<LiveDisplays>(parts_.settings, liveView_, panel_, view_->Surface(), *painter_,
                                             parts_.session.Loop());
  liveView_.SetKnockTotal([this] { return displays_->Knock().KnockTotal(); });
  DisplayControlHooks hooks;
  hooks.whileSuspended = [this](const std::function<void()>& work) { RunSuspended(work); };
  hooks.repaint = [this] { RepaintWithKeyboard(); };
  hooks.keyFilter = this;
  tripControls_ = std::make_unique<TripControls>(displays_->Trip(), hooks);
  knockControls_ = std::make_unique<KnockControls>(displays_->Knock(), hooks);
  alertSound_ = new AlertSound(this);
  parts_.hooks.knockSound = [this] { alertSound_->Play(); };
  parts_.hooks.tripResetSampling = [this] { displays_->Trip().ResetSampling(); };
  parts_.hooks.storeTripTotals = [this] { displays_->Trip().StoreTotals(parts_.settings); };
}

void MainWindow::CreateDisplayControls(Controls controls) {
  if (controls == Controls::Trip) tripControls_->Create(view_);
  if (controls == Controls::Knock) knockControls_->Create(view_);
}

void MainWindow::TearDownDisplayControls(Controls controls) {
  if (controls == Controls::Trip) tripControls_->Remove();
  if (controls == Controls::Knock) knockControls_->Remove();
}

// "Clear Data" holds the display thread between frames while it clears.
void MainWindow::RunSuspended(const std::function<void()>& work) {
  parts_.session.Display().Suspend(kClearSuspendBound);
  work();
  parts_.session.Display().Resume();
}

}  // namespace vantor::ui
