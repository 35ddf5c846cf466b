#pragma once
// Everything ORV_KDM9Update runs besides its window: its seven-row
// configuration, the simulated ECM behind the port "SIM", the session (link,
// communication thread, LinkTick, pane, flash thread), and where a run finds
// its bank files and its firmware image. Both depend on the port a run starts
// on: the simulated module keeps its bank files in a folder of its own and may
// run on the built-in stand-in image.

#include <chrono>
#include <optional>
#include <string>

#include "settings/settings.h"
#include "settings/settings_io.h"
#include "sim/sim_ecm.h"
#include "update/update_session.h"

namespace vantor::ui {

struct UpdateProgramOptions {
  std::string configPath;
  bool demo = false;               // this run uses the simulated ECM; the file keeps the user's port
  sim::SimOptions simOptions;
  std::string bankDirectory;       // a real module's bank files; empty: the working directory
  std::string firmwareBeside;      // ORV_KDM9_firmware.bin beside the program
  std::string deviceDirectory = "/dev";  // where the CommPort menu looks for adapters
  std::chrono::milliseconds settle{100};
  std::chrono::milliseconds conversionPause{100};
};

class UpdateProgram {
 public:
  // Reads the configuration (creating a missing file); onError shows its box.
  UpdateProgram(UpdateProgramOptions options, SettingsErrorHook onError);
  UpdateProgram(const UpdateProgram&) = delete;
  UpdateProgram& operator=(const UpdateProgram&) = delete;

  void SetErrorHook(SettingsErrorHook onError) { onError_ = std::move(onError); }
  void WriteSettings();
  // The run's bank folder and firmware image for the port chosen now.
  UpdateRunSetup RunSetup() const;

  Settings settings;
  const UpdateProgramOptions options;
  sim::SimEcm simEcm;
  UpdateSession session;

 private:
  SettingsErrorHook onError_;
  std::optional<std::string> keptPort_;
};

}  // namespace vantor::ui
