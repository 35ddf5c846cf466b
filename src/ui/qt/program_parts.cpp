#include "ui/qt/program_parts.h"

#include "settings/settings_io.h"
#include "settings/settings_table.h"
#include "sim/sim_serial.h"

namespace vantor::ui {

ProgramParts::ProgramParts(Settings& settingsIn, std::string configPathIn)
    : settings(settingsIn),
      configPath(std::move(configPathIn)),
      sources(&link, ByteSourceId::Live),
      loop(sources, live, adc, state),
      recorder(logHooks, settings,
               RecorderHooks{[this](const std::string& t, const std::string& c) { if (hooks.showMessage) hooks.showMessage(t, c); },
                             [this](bool on) { if (hooks.loggingChanged) hooks.loggingChanged(on); },
                             [this] { WriteSettings(); }}),
      playback(sources, loop, live, &recorder, settings,
               PlaybackHooks{[this](const std::string& t, const std::string& c) { if (hooks.showMessage) hooks.showMessage(t, c); },
                             [this](int max) { if (hooks.progressCreate) hooks.progressCreate(max); },
                             [this] { if (hooks.progressStep) hooks.progressStep(); },
                             [this] { if (hooks.progressRemove) hooks.progressRemove(); },
                             [this](bool on) { if (hooks.playingChanged) hooks.playingChanged(on); },
                             [this] { if (hooks.playbackEnd) hooks.playbackEnd(); },
                             [this] { WriteSettings(); },
                             {}}),
      displayThread(loop, sources, state, &link, &logHooks),
      commThread(link, &logHooks) {
  link.SetDeviceOpener(sim::SimOpener(simEcm));
  link.SetStatusHook([this](bool open) { if (hooks.portChanged) hooks.portChanged(open); });
  link.SetSelectPolicy(
      [this] { return state.Mode() == DisplayMode::Analysis || playback.Playing(); },
      [this] { WriteSettings(); });
  adc.BuildActiveChannels(settings);
  loop.ApplySettings(settings);
  displayThread.SetPlaybackStep([this] { playback.PlaybackStep(); });
}

ProgramParts::~ProgramParts() {
  displayThread.Stop();
  commThread.Stop();
}

void ProgramParts::StartThreads() {
  FrameLoopHooks loopHooks;
  loopHooks.activityStep = [this] { if (hooks.activityStep) hooks.activityStep(); };
  loop.SetHooks(std::move(loopHooks));
  displayThread.Start();
  commThread.Start();
}

void ProgramParts::WriteSettings() {
  if (userPort_ && settings.port != sim::kSimPortName) userPort_.reset();
  const std::string runPort = settings.port;
  if (userPort_) settings.port = *userPort_;
  vantor::WriteSettings(configPath, MainProgramSettingsTable(), &settings,
                        [this](const std::string& t, const std::string& c) { if (hooks.showMessage) hooks.showMessage(t, c); });
  settings.port = runPort;
}

}  // namespace vantor::ui
