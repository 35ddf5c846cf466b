// vantor bank: program a calibration bank from a BIN file, or read one into a BIN file.

#include <cstdio>
#include <string>
#include <vector>

#include "cal/bank_jobs.h"
#include "cal/message_pane.h"
#include "cal/ve_file.h"
#include "bin_check.h"
#include "cli.h"
#include "ecm_session.h"
#include "pane_printer.h"

namespace vantor::cli {
namespace {

int RunBank(const std::vector<std::string>& argv);

const Command kBank{"bank", "program or read a calibration bank of the ECM",
                    "usage: vantor bank program --port PORT --bank N [--no-verify] [--no-set-active] FILE.bin\n"
                    "       vantor bank read --port PORT --bank N [--no-set-active] OUT.bin\n\n"
                    "Runs the Flash window's bank job and prints every message line as it is\n"
                    "added. The bank is made the running one first and a program is verified\n"
                    "by reading it back, unless switched off. PORT is a serial port (COM1,\n"
                    "/dev/ttyUSB0, a pseudo-terminal) or SIM for a simulated ECM in this process.\n\n"
                    "  --port PORT       serial port (default: [PORT] of the configuration)\n"
                    "  --bank N          bank 0-7 (default: [FLSHBANK])\n"
                    "  --no-verify       do not read the programmed calibration back\n"
                    "  --no-set-active   do not make the bank the running one first\n"
                    "  --config CFG      settings file to read\n\n"
                    "Exit status 0 only when the job succeeded.\n",
                    RunBank};
const Registration kRegistration(kBank);

int RunBank(const std::vector<std::string>& argv) {
  const Args args(argv, {"--port", "--bank", "--config"}, {"--no-verify", "--no-set-active"});
  if (args.WantsHelp()) return PrintHelp(kBank);
  if (!args.Ok()) return UsageError(kBank, args.Error());
  const auto& positional = args.Positional();
  if (positional.size() != 2 || (positional[0] != "program" && positional[0] != "read"))
    return UsageError(kBank, "expected program FILE.bin or read OUT.bin");
  const bool program = positional[0] == "program";
  if (!program && args.Has("--no-verify")) return UsageError(kBank, "--no-verify is for program");
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;

  FlashJob job;
  long bank = settings.flshBank;
  if (const auto value = args.Value("--bank"); value && !ParseInt(kBank.name, "--bank", *value, 0, 7, &bank))
    return kExitUsage;
  job.bank = {static_cast<int>(bank), !args.Has("--no-set-active"), !args.Has("--no-verify")};
  job.action = program ? kFlashProgram : kFlashRead;
  if (program) {
    job.programFile = positional[1];
    if (!IsBinOrSay("bank", job.programFile, BinReader::MainProgram)) return kExitFailure;
  } else {
    job.readFile = positional[1];
    job.readDirectory.assign(1, '.');  // a name was given on the command line
  }

  EcmSession session(MainProgramProfile());
  if (!session.Open(args.Value("--port").value_or(settings.port))) return kExitFailure;
  MessagePane pane(FlashPaneStyle());
  PrintPaneLines(pane);
  const auto showBox = [](const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "vantor bank: %s: %s\n", caption.c_str(), text.c_str());
  };
  return RunFlashJob(session.Link(), pane, job, showBox) == 0 ? kExitOk : kExitFailure;
}

}  // namespace
}  // namespace vantor::cli
