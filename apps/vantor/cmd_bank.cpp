// vantor bank: program a calibration bank from a BIN file (after a backup of
// what it holds), read one into a BIN file, or restore its newest backup.

#include <cstdio>
#include <string>
#include <vector>

#include "cal/bank_backup.h"
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

const Command kBank{
    "bank", "program, read or restore a calibration bank of the ECM",
    "usage: vantor bank program --port PORT --bank N [--no-verify] [--no-set-active]\n"
    "                           [--backup-dir DIR | --no-backup] FILE.bin\n"
    "       vantor bank read --port PORT --bank N [--no-set-active] OUT.bin\n"
    "       vantor bank restore --port PORT --bank N [--no-set-active] [--backup-dir DIR]\n\n"
    "Runs the Flash window's bank job and prints every message line as it is\n"
    "added. The bank is made the running one first and a program is verified\n"
    "by reading it back, unless switched off. PORT is a serial port (COM1,\n"
    "/dev/ttyUSB0, a pseudo-terminal) or SIM for a simulated ECM in this process.\n\n"
    "Before a program erases the bank, the bank is read as 'bank read' reads it\n"
    "into DIR/Bank_N_YYYYMMDD_HHMMSS.bin (read-only; DIR is \"Backups\" beside\n"
    "FILE.bin unless named); a backup that fails stops the job before any erase.\n"
    "restore programs the newest backup of bank N in DIR (default: \"Backups\"\n"
    "beside [FLSHBIN] of the configuration, as the Flash window keeps them), with\n"
    "verify, after checking it is a whole, balanced BIN; it takes no backup of its\n"
    "own, so running it again gives the same bank.\n\n"
    "  --port PORT       serial port (default: [PORT] of the configuration)\n"
    "  --bank N          bank 0-7 (default: [FLSHBANK])\n"
    "  --no-verify       do not read the programmed calibration back\n"
    "  --no-set-active   do not make the bank the running one first\n"
    "  --backup-dir DIR  where backups are kept\n"
    "  --no-backup       program without a backup\n"
    "  --config CFG      settings file to read\n\n"
    "Exit status 0 only when the job succeeded.\n",
    RunBank};
const Registration kRegistration(kBank);

constexpr const char* kProgram = "program";
constexpr const char* kRead = "read";
constexpr const char* kRestore = "restore";

// The options that do not fit the action; empty when all fit.
std::string MisfitOption(const Args& args, const std::string& action) {
  if (action != kProgram && args.Has("--no-verify")) return "--no-verify is for program";
  if (action != kProgram && args.Has("--no-backup")) return "--no-backup is for program";
  if (action == kRead && args.Has("--backup-dir")) return "--backup-dir is for program and restore";
  if (args.Has("--backup-dir") && args.Has("--no-backup")) return "--backup-dir and --no-backup exclude each other";
  return {};
}

// The newest backup of the bank, checked; false (reason on stderr) when there is none to trust.
bool ChooseBackup(const std::string& directory, int bank, std::string* path) {
  const auto newest = NewestBackup(directory, bank);
  if (newest.empty()) {
    Say(kBank.name, "no backup of bank " + std::to_string(bank) + " in " + directory);
    return false;
  }
  if (const std::string defect = BackupDefect(newest); !defect.empty()) {
    Say(kBank.name, "the backup " + newest.string() + " " + defect + ": nothing programmed");
    return false;
  }
  *path = newest.string();
  std::printf("restoring %s\n", path->c_str());
  return true;
}

int RunJob(const Args& args, const Settings& settings, const FlashJob& job) {
  EcmSession session(MainProgramProfile());
  if (!session.Open(args.Value("--port").value_or(settings.port))) return kExitFailure;
  MessagePane pane(FlashPaneStyle());
  PrintPaneLines(pane);
  const auto showBox = [](const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "vantor bank: %s: %s\n", caption.c_str(), text.c_str());
  };
  const int result = RunFlashJob(session.Link(), pane, job, showBox);
  if (job.backup.keptPath && !job.backup.keptPath->empty()) std::printf("backup: %s\n", job.backup.keptPath->c_str());
  return result == 0 ? kExitOk : kExitFailure;
}

int RunBank(const std::vector<std::string>& argv) {
  const Args args(argv, {"--port", "--bank", "--config", "--backup-dir"},
                  {"--no-verify", "--no-set-active", "--no-backup"});
  if (args.WantsHelp()) return PrintHelp(kBank);
  if (!args.Ok()) return UsageError(kBank, args.Error());
  const auto& positional = args.Positional();
  const std::string action = positional.empty() ? "" : positional[0];
  const bool withFile = action == kProgram || action == kRead;
  if (!(withFile && positional.size() == 2) && !(action == kRestore && positional.size() == 1))
    return UsageError(kBank, "expected program FILE.bin, read OUT.bin or restore");
  if (const std::string misfit = MisfitOption(args, action); !misfit.empty()) return UsageError(kBank, misfit);
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;

  FlashJob job;
  long bank = settings.flshBank;
  if (const auto value = args.Value("--bank"); value && !ParseInt(kBank.name, "--bank", *value, 0, 7, &bank))
    return kExitUsage;
  job.bank = {static_cast<int>(bank), !args.Has("--no-set-active"), !args.Has("--no-verify")};
  job.action = action == kRead ? kFlashRead : kFlashProgram;
  std::string kept;
  job.backup.enabled = action == kProgram && !args.Has("--no-backup");
  job.backup.directory = args.Value("--backup-dir").value_or("");
  job.backup.keptPath = &kept;
  if (action == kProgram) {
    job.programFile = positional[1];
    if (!IsBinOrSay(kBank.name, job.programFile, BinReader::MainProgram)) return kExitFailure;
  } else if (action == kRead) {
    job.readFile = positional[1];
    job.readDirectory.assign(1, '.');  // a name was given on the command line
  } else if (!ChooseBackup(BackupDirectory(job.backup, settings.flshBin).string(), job.bank.bank,
                           &job.programFile)) {
    return kExitFailure;
  }
  return RunJob(args, settings, job);
}

}  // namespace
}  // namespace vantor::cli
