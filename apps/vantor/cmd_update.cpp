// vantor update: the update utility's run, migrating every bank to layout 1.1.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cal/message_pane.h"
#include "cli.h"
#include "ecm_session.h"
#include "pane_printer.h"
#include "platform/program_dir.h"
#include "sim/sim_serial.h"
#include "update/bank_update.h"
#include "update/firmware_image.h"

namespace vantor::cli {
namespace {

int RunUpdateCommand(const std::vector<std::string>& argv);

const Command kUpdate{"update", "update every bank of the ECM to firmware 1.1",
                      "usage: vantor update --port PORT [--firmware IMG] [--dir DIR]\n\n"
                      "Reads every bank into Bank_N_old.bin (kept, read-only), converts each\n"
                      "to layout 1.1 in Bank_N_new.bin and programs the banks with the new\n"
                      "firmware code, verified. Every message line is printed as it is added.\n"
                      "A run that failed can simply be started again.\n\n"
                      "  --port PORT      serial port, or SIM for a simulated ECM in this process\n"
                      "                   (default: [PORT] of the configuration)\n"
                      "  --firmware IMG   the 24,576-byte firmware code image (default: " "ORV_KDM9_firmware.bin\n"
                      "                   beside this program; with SIM, the shipped stand-in)\n"
                      "  --dir DIR        where the bank files are kept (default: current directory)\n"
                      "  --config CFG     settings file to read\n\n"
                      "Exit status 0 only when the update succeeded.\n",
                      RunUpdateCommand};
const Registration kRegistration(kUpdate);

// The stand-in image is only ever used for the simulated module.
std::string FirmwarePath(const Args& args, const std::string& port) {
  if (const auto path = args.Value("--firmware")) return *path;
  return ChooseFirmwarePath(DefaultFirmwarePath(ProgramDirectory().string()),
                            std::string(VANTOR_DATA_DIR) + "/firmware_stand_in.bin", port == sim::kSimPortName);
}

int RunUpdateCommand(const std::vector<std::string>& argv) {
  const Args args(argv, {"--port", "--firmware", "--dir", "--config"}, {});
  if (args.WantsHelp()) return PrintHelp(kUpdate);
  if (!args.Ok()) return UsageError(kUpdate, args.Error());
  if (!args.Positional().empty()) return UsageError(kUpdate, "unexpected argument " + args.Positional()[0]);
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  const std::string port = args.Value("--port").value_or(settings.port);

  FirmwareImage firmware;
  std::string error;
  if (!LoadFirmwareImage(FirmwarePath(args, port), &firmware, &error)) {
    std::fprintf(stderr, "vantor update: %s\n", error.c_str());
    return kExitFailure;
  }
  UpdateRun run;
  run.directory = args.Value("--dir").value_or("");
  run.firmware = &firmware;
  if (!run.directory.empty() && !std::filesystem::is_directory(run.directory)) {
    std::fprintf(stderr, "vantor update: %s is not a directory\n", run.directory.c_str());
    return kExitFailure;
  }

  EcmSession session(UpdateUtilityProfile());
  if (!session.Open(port)) return kExitFailure;
  MessagePane pane(UpdatePaneStyle());
  PrintPaneLines(pane);
  return RunUpdate(session.Link(), pane, run) == 0 ? kExitOk : kExitFailure;
}

}  // namespace
}  // namespace vantor::cli
