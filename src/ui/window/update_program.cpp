#include "ui/window/update_program.h"

#include "settings/settings_table.h"
#include "sim/sim_serial.h"
#include "update/bank_files.h"
#include "update/firmware_image.h"

namespace vantor::ui {

UpdateProgram::UpdateProgram(UpdateProgramOptions optionsIn, SettingsErrorHook onError)
    : options(std::move(optionsIn)),
      simEcm(options.simOptions),
      session(sim::SimOpener(simEcm)),
      onError_(std::move(onError)) {
  ReadSettings(options.configPath, UpdateUtilitySettingsTable(), &settings, onError_);
  if (options.demo) {
    keptPort_ = settings.port;
    settings.port = sim::kSimPortName;
  }
  session.Link().SetSelectPolicy([] { return false; }, [this] { WriteSettings(); });
}

void UpdateProgram::WriteSettings() {
  WriteSettingsKeepingPort(options.configPath, UpdateUtilitySettingsTable(), &settings, &keptPort_,
                           sim::kSimPortName, onError_);
}

UpdateRunSetup UpdateProgram::RunSetup() const {
  const bool simulatedModule = settings.port == sim::kSimPortName;
  UpdateRunSetup setup;
  setup.directory = BankDirectory(options.bankDirectory, simulatedModule);
  setup.firmware = ChooseFirmware(options.firmwareBeside, simulatedModule);
  setup.settle = options.settle;
  setup.conversionPause = options.conversionPause;
  return setup;
}

}  // namespace vantor::ui
