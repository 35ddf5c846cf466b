// vantor sim: the simulated ECM on a pseudo-terminal.
// Serving needs a POSIX pseudo-terminal: there is no such command on Windows.
#ifndef _WIN32

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"
#include "live/byte_source.h"
#include "sim/pty_server.h"
#include "sim/sim_ecm.h"

namespace vantor::cli {
namespace {

int RunSim(const std::vector<std::string>& argv);

const Command kSim{"sim", "serve the simulated ECM on a pseudo-terminal",
                   "usage: vantor sim [--no-pace] [--replay LOG.dat] [--bank-file N FILE]... [--config CFG]\n\n"
                   "Starts the simulated ORV KDM-9 on a new pseudo-terminal, prints the slave\n"
                   "device path (for example /dev/pts/3) as the first line on standard output\n"
                   "and serves until SIGINT or SIGTERM.\n\n"
                   "  --no-pace            send as fast as the reader takes (default: 11,520 bytes/s)\n"
                   "  --replay LOG.dat     stream the good frames of a data log, looping, instead of\n"
                   "                       the engine model\n"
                   "  --bank-file N FILE   load bank N (0-7) from a 32,768-byte file; may repeat\n"
                   "  --config CFG         settings file to read\n",
                   RunSim};
const Registration kRegistration(kSim);

struct BankFile {
  std::string bankText;
  std::string path;
  long bank = 0;
};

// --bank-file takes two values, which the common parser does not know.
bool TakeBankFiles(const std::vector<std::string>& argv, std::vector<std::string>* rest,
                   std::vector<BankFile>* banks) {
  for (std::size_t i = 0; i < argv.size(); ++i) {
    if (argv[i] != "--bank-file") {
      rest->push_back(argv[i]);
      continue;
    }
    if (i + 2 >= argv.size()) return false;
    banks->push_back({argv[i + 1], argv[i + 2]});
    i += 2;
  }
  return true;
}

bool ParseBankNumbers(std::vector<BankFile>& banks) {
  return std::all_of(banks.begin(), banks.end(), [](BankFile& file) {
    return ParseInt(kSim.name, "--bank-file", file.bankText, 0, 7, &file.bank);
  });
}

bool LoadBanks(sim::SimEcm& ecm, const std::vector<BankFile>& banks) {
  for (const BankFile& file : banks) {
    std::string error;
    if (!ecm.LoadBankFile(static_cast<int>(file.bank), file.path, &error)) {
      std::fprintf(stderr, "vantor sim: %s\n", error.c_str());
      return false;
    }
  }
  return true;
}

int WaitForStopSignal(const sigset_t& signals) {
  int signal = 0;
  sigwait(&signals, &signal);
  return signal;
}

int RunSim(const std::vector<std::string>& argv) {
  std::vector<std::string> rest;
  std::vector<BankFile> banks;
  if (!TakeBankFiles(argv, &rest, &banks)) return UsageError(kSim, "--bank-file needs N and FILE");
  const Args args(rest, {"--replay", "--config"}, {"--no-pace"});
  if (args.WantsHelp()) return PrintHelp(kSim);
  if (!args.Ok()) return UsageError(kSim, args.Error());
  if (!args.Positional().empty()) return UsageError(kSim, "unexpected argument " + args.Positional()[0]);
  if (!ParseBankNumbers(banks)) return kExitUsage;
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;

  sim::SimOptions options;
  options.paced = !args.Has("--no-pace");
  sim::SimEcm ecm(options);
  if (!LoadBanks(ecm, banks)) return kExitFailure;
  if (const auto log = args.Value("--replay")) {
    if (!LogFileReader().Open(*log)) {
      SayCannotOpenLog(kSim.name, *log);
      return kExitFailure;
    }
    std::string error;
    if (!ecm.Replay(*log, &error)) {
      std::fprintf(stderr, "vantor sim: %s\n", error.c_str());
      return kExitFailure;
    }
  }

  // The signals are taken by sigwait below, never by a handler in another thread.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  sim::PtyServer server(ecm);
  std::string error;
  if (!server.Start(&error)) {
    std::fprintf(stderr, "vantor sim: %s\n", error.c_str());
    return kExitFailure;
  }
  std::printf("%s\n", server.SlavePath().c_str());
  std::fflush(stdout);
  WaitForStopSignal(signals);
  server.Stop();
  return kExitOk;
}

}  // namespace
}  // namespace vantor::cli

#endif  // _WIN32
