#include "ui/draw/display_switcher.h"

#include "ui/draw/display_painter.h"
#include "ui/draw/menu_commands.h"

namespace vantor::ui {
namespace {

constexpr Controls kLiveDisplayControls[] = {Controls::Trip, Controls::VeLearn, Controls::Knock};

std::optional<Controls> OwnControls(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::Trip: return Controls::Trip;
    case DisplayMode::VeLearn: return Controls::VeLearn;
    case DisplayMode::SparkKnock: return Controls::Knock;
    default: return std::nullopt;
  }
}

void SwitchLiveDisplay(WindowActions& window, const Settings& settings, DisplayMode target) {
  window.GrayItem(MenuItemOf(target));
  if (window.Mode() != target) {
    window.Suspend();
    if (target != DisplayMode::Gauges) window.TearDown(Controls::Playback);
    for (Controls controls : kLiveDisplayControls)
      if (OwnControls(target) != controls) window.TearDown(controls);
    window.TearDown(Controls::Analysis);
    if (window.Mode() == DisplayMode::Flash) window.TearDown(Controls::Flash);
    window.SetMode(target);
    if (auto own = OwnControls(target)) window.Create(*own);
    window.Create(Controls::Playback);
  }
  window.InvalidateAll();
  if (settings.actvFbnk == 1 && !window.BankSelectOpen() && !window.Playing()) window.OpenBankSelect();
  if (settings.actvMalf == 1 && !window.MalfCodesOpen()) window.OpenMalfCodes();
  window.Resume();
  if (!window.PortIsOpen() && !window.Playing()) window.SelectPort();
  window.RequestRxReset();
}

void LeaveLiveDisplays(WindowActions& window) {
  window.Suspend();
  window.TearDown(Controls::Playback);
  for (Controls controls : kLiveDisplayControls) window.TearDown(controls);
}

void SwitchToAnalysis(WindowActions& window) {
  window.StopStream();
  window.StopDataLog();
  window.StopPlayback();
  window.StopLearn();
  window.ReleasePort();
  LeaveLiveDisplays(window);
  if (window.Mode() == DisplayMode::Flash) window.TearDown(Controls::Flash);
  window.CloseMalfCodes();
  window.CloseBankSelect();
  window.SetMode(DisplayMode::Analysis);
  window.Create(Controls::Analysis);
  window.GrayItem(cmd::kMalfCodes);
  window.GrayItem(cmd::kBankSelect);
  window.GrayItem(cmd::kAnalysis);
  window.InvalidateAll();
  // The display thread stays suspended while Analysis is shown.
}

void SwitchToFlash(WindowActions& window) {
  window.StopStream();
  window.StopPlayback();
  window.StopLearn();
  LeaveLiveDisplays(window);
  window.TearDown(Controls::Analysis);
  window.CloseMalfCodes();
  window.CloseBankSelect();
  window.SetMode(DisplayMode::Flash);
  window.Create(Controls::Flash);
  window.GrayItem(cmd::kMalfCodes);
  window.GrayItem(cmd::kBankSelect);
  window.GrayItem(cmd::kFlash);
  window.InvalidateAll();
  window.Resume();
  if (!window.PortIsOpen() && !window.Playing()) window.SelectPort();
}

}  // namespace

void SelectDisplay(WindowActions& window, const Settings& settings, int command) {
  const auto target = DisplayOfCommand(command);
  if (!target) return;
  window.EnableDisplayItems();
  if (*target == DisplayMode::Analysis)
    SwitchToAnalysis(window);
  else if (*target == DisplayMode::Flash)
    SwitchToFlash(window);
  else
    SwitchLiveDisplay(window, settings, *target);
}

void RunExitSequence(ExitActions& actions) {
  if (!actions.Minimised()) actions.StoreWindowPosition();
  actions.WriteSettings();
  actions.CloseDataLog();
  actions.FinishLearn();
  actions.ClosePort();
}

}  // namespace vantor::ui
