#pragma once
// Everything the main program runs besides its window: the link with its
// communication thread, the byte sources, live data and channels, the frame
// loop with its display thread, the recorder and playback, and the simulated
// ECM behind the port name "SIM". Built before the window; the window
// installs its hooks through WindowHooks before the threads start.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/ecm_link.h"
#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/comm_thread.h"
#include "live/display_state.h"
#include "live/display_thread.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "live/log_hooks.h"
#include "logs/data_log_recorder.h"
#include "logs/playback.h"
#include "settings/settings.h"
#include "sim/sim_ecm.h"

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
  EcmLink link;
  LogHooks logHooks;
  ByteSources sources;
  LiveData live;
  AdcChannels adc;
  DisplayState state;
  FrameLoop loop;
  DataLogRecorder recorder;
  Playback playback;
  DisplayThread displayThread;
  CommThread commThread;

 private:
  std::optional<std::string> userPort_;
};

}  // namespace vantor::ui
