#include "ui/window/program_parts.h"

#include "settings/settings_io.h"
#include "settings/settings_table.h"
#include "sim/sim_serial.h"

namespace vantor::ui {

ProgramParts::ProgramParts(Settings& settingsIn, std::string configPathIn)
    : settings(settingsIn),
      configPath(std::move(configPathIn)),
      session(settings, sim::SimOpener(simEcm)),
      link(session.Link()),
      state(session.State()),
      recorder(session.Hooks(), settings,
               RecorderHooks{[this](const std::string& t, const std::string& c) { Message(t, c); },
                             [this](bool on) { if (hooks.loggingChanged) hooks.loggingChanged(on); },
                             [this] { WriteSettings(); },
                             [this](std::function<void()> work) {
                               if (hooks.onUserThread) hooks.onUserThread(std::move(work));
                             }}),
      playback(session.Sources(), session.Loop(), session.Live(), &recorder, settings,
               PlaybackHooks{[this](const std::string& t, const std::string& c) { Message(t, c); },
                             [this](int max) { if (hooks.progressCreate) hooks.progressCreate(max); },
                             [this] { if (hooks.progressStep) hooks.progressStep(); },
                             [this] { if (hooks.progressRemove) hooks.progressRemove(); },
                             [this](bool on) { if (hooks.playingChanged) hooks.playingChanged(on); },
                             [this] { if (hooks.playbackEnd) hooks.playbackEnd(); },
                             [this] { WriteSettings(); },
                             {}}),
      veLearn(settings, session.Live(),
              VeLearnHooks{[this](const std::string& t, const std::string& c) { Message(t, c); },
                           [this] { WriteSettings(); },
                           [this] { if (hooks.veRedraw) hooks.veRedraw(); },
                           [this] { if (hooks.learnChanged) hooks.learnChanged(); },
                           [this](std::int32_t tick) { session.Loop().SetNextAutoUpdate(tick); }}) {
  link.SetStatusHook([this](bool open) { if (hooks.portChanged) hooks.portChanged(open); });
  link.SetSelectPolicy([this] { return state.Mode() == DisplayMode::Analysis || playback.Playing(); },
                       [this] { WriteSettings(); });
  session.Display().SetPlaybackStep([this] { playback.PlaybackStep(); });
}

ProgramParts::~ProgramParts() {
  playback.StopPlayback();
  recorder.StopDataLog();
  session.Stop();
}

void ProgramParts::StartThreads() {
  FrameLoopHooks loopHooks;
  loopHooks.activityStep = [this] { if (hooks.activityStep) hooks.activityStep(); };
  loopHooks.knockSound = [this] { if (hooks.knockSound) hooks.knockSound(); };
  loopHooks.tripResetSampling = [this] { if (hooks.tripResetSampling) hooks.tripResetSampling(); };
  loopHooks.veAutoUpdate = [this] { veLearn.AutoSave(); };
  session.Loop().SetHooks(std::move(loopHooks));
  session.Start();
}

void ProgramParts::Message(const std::string& text, const std::string& caption) {
  if (hooks.showMessage) hooks.showMessage(text, caption);
}

void ProgramParts::WriteSettings() {
  if (hooks.storeTripTotals) hooks.storeTripTotals();
  WriteSettingsKeepingPort(configPath, MainProgramSettingsTable(), &settings, &userPort_, sim::kSimPortName,
                           [this](const std::string& t, const std::string& c) { Message(t, c); });
}

}  // namespace vantor::ui
