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
#include "update/bank_files.h"
#include "update/firmware_image.h"
#include "update/update_run.h"

namespace vantor::cli {
namespace {

int RunUpdateCommand(const std::vector<std::string>& argv);

const Command kUpdate{"update", "update every bank of the ECM to firmware 1.1",
                      "usage: vantor update --port PORT [--firmware IMG] [--dir DIR]\n\n"
                      "Reads every bank into Bank_N_old.bin (kept, read-only), converts each\n"
                      "to layout 1.1 in Bank_N_new.bin and programs the banks with the new\n"
                      "firmware code, verified. Every message line is printed as it is added.\n"
                      "A run that failed can simply be started again: it resumes from the kept\n"
                      "files, and refuses files that were not saved from this ECM.\n\n"
                      "  --port PORT      serial port, or SIM for a simulated ECM in this process\n"
                      "                   (default: [PORT] of the configuration)\n"
                      "  --firmware IMG   the 24,576-byte firmware code image, supplied with the\n"
                      "                   ECM's firmware (default: ORV_KDM9_firmware.bin beside\n"
                      "                   this program, or in ~/.config/vantor when its folder\n"
                      "                   is shared; with SIM and nothing there, the built-in\n"
                      "                   stand-in, which a real ECM never gets)\n"
                      "  --dir DIR        where the bank files are kept (default: current directory);\n"
                      "                   with SIM, its subfolder SimulatedECM\n"
                      "  --config CFG     settings file to read\n\n"
                      "Exit status 0 only when the update succeeded.\n",
                      RunUpdateCommand};
const Registration kRegistration(kUpdate);

// The image named on the command line, else the one beside this program (or,
// for the simulated module only, the built-in stand-in).
FirmwareSource ChosenFirmware(const Args& args, const std::string& besideProgram, bool simulatedModule) {
  if (const auto path = args.Value("--firmware")) return {*path, simulatedModule};
  return ChooseFirmware(besideProgram, simulatedModule);
}

bool LoadFirmware(const Args& args, bool simulatedModule, FirmwareImage* firmware) {
  const std::string besideProgram = DefaultFirmwarePath(SettingsDirectory().string());
  const FirmwareSource source = ChosenFirmware(args, besideProgram, simulatedModule);
  const FirmwareStatus status = LoadRunFirmware(source, firmware);
  if (status == FirmwareStatus::Ok) return true;
  const std::string name = source.path.empty() ? "the built-in stand-in" : source.path;
  std::fprintf(stderr, "vantor update: %s: %s\n", FirmwareStatusText(status), name.c_str());
  if (status == FirmwareStatus::Missing)
    std::fprintf(stderr,
                 "vantor update: the image is supplied with the ECM's firmware: put it here:\n"
                 "  %s\n  or name it with --firmware IMG\n",
                 besideProgram.c_str());
  if (status == FirmwareStatus::StandIn)
    std::fprintf(stderr, "vantor update: the stand-in only serves the simulated ECM (--port SIM); nothing was sent\n");
  return false;
}

int RunUpdateCommand(const std::vector<std::string>& argv) {
  const Args args(argv, {"--port", "--firmware", "--dir", "--config"}, {});
  if (args.WantsHelp()) return PrintHelp(kUpdate);
  if (!args.Ok()) return UsageError(kUpdate, args.Error());
  if (!args.Positional().empty()) return UsageError(kUpdate, "unexpected argument " + args.Positional()[0]);
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  const std::string port = args.Value("--port").value_or(settings.port);
  const bool simulatedModule = port == sim::kSimPortName;

  FirmwareImage firmware;
  if (!LoadFirmware(args, simulatedModule, &firmware)) return kExitFailure;
  const std::string base = args.Value("--dir").value_or("");
  if (!base.empty() && !std::filesystem::is_directory(base)) {
    std::fprintf(stderr, "vantor update: %s is not a directory\n", base.c_str());
    return kExitFailure;
  }
  UpdateRun run;
  run.directory = BankDirectory(base, simulatedModule);
  run.firmware = &firmware;

  EcmSession session(UpdateUtilityProfile());
  if (!session.Open(port)) return kExitFailure;
  MessagePane pane(UpdatePaneStyle());
  PrintPaneLines(pane);
  return RunUpdate(session.Link(), pane, run) == 0 ? kExitOk : kExitFailure;
}

}  // namespace
}  // namespace vantor::cli
