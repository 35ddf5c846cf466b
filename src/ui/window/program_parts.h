#pragma once
// Everything the main program runs besides its window: the live session
// (link, threads, frame loop), the recorder and playback, and the simulated
// ECM behind the port name "SIM". Built before the window; the window
// installs its hooks through WindowHooks before the threads start.

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "live/live_session.h"
#include "logs/data_log_recorder.h"
#include "logs/playback.h"
#include "settings/settings.h"
#include "sim/sim_ecm.h"
#include "velearn/ve_learn.h"

namespace vantor::ui {

// Filled in by the window; the parts call them from the threads named in
// the recorder's and playback's hooks.
struct WindowHooks {
  std::function<void(const std::string& text, const std::string& caption)> showMessage;
  std::function<void(bool logging)> loggingChanged;
  std::function<void(bool playing)> playingChanged;
  std::function<void(int maximum)> progressCreate;
  std::function<void()> progressStep;
  std::function<void()> progressRemove;
  std::function<void()> playbackEnd;
  std::function<void()> activityStep;
  std::function<void(bool open)> portChanged;
  std::function<void()> knockSound;        // display thread; must not block
  std::function<void()> tripResetSampling; // display thread
  std::function<void()> storeTripTotals;   // before the configuration is written
  std::function<void()> veRedraw;      // VE learn's table on screen (display thread)
  std::function<void()> learnChanged;  // VE learn started or stopped (user-interface thread)
  std::function<void(std::function<void()> work)> onUserThread = nullptr;
};

class ProgramParts {
 public:
  ProgramParts(Settings& settings, std::string configPath);
  ~ProgramParts();
  ProgramParts(const ProgramParts&) = delete;
  ProgramParts& operator=(const ProgramParts&) = delete;

  WindowHooks hooks;  // set before StartThreads

  void StartThreads();
  void WriteSettings();
  // Demo mode: while the simulated ECM is the port, the configuration keeps userPort.
  void SetPortOverride(std::string userPort) { userPort_ = std::move(userPort); }

  Settings& settings;
  const std::string configPath;
  sim::SimEcm simEcm;
  LiveSession session;
  EcmLink& link;
  DisplayState& state;
  DataLogRecorder recorder;
  Playback playback;
  VeLearn veLearn;

 private:
  void Message(const std::string& text, const std::string& caption);
  std::optional<std::string> userPort_;
};

}  // namespace vantor::ui
