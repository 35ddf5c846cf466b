// vantor: the command-line companion of VantorFlash and ORV_KDM9Update.

#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"

namespace {

void PrintOverview(std::FILE* out) {
  std::fputs("usage: vantor SUBCOMMAND [ARGS...]\n\n"
             "Tools for the ORV KDM-9 flash ECM: the simulated ECM, data logs,\n"
             "calibration files and bank work. Every subcommand takes --help.\n\n"
             "subcommands:\n", out);
  for (const auto& command : vantor::cli::Commands())
    std::fprintf(out, "  %-12s %s\n", command.name, command.summary);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintOverview(stderr);
    return vantor::cli::kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintOverview(stdout);
    return vantor::cli::kExitOk;
  }
  if (name == "--version") {
    std::fputs("vantor " VANTOR_VERSION "\n", stdout);
    return vantor::cli::kExitOk;
  }
  for (const auto& command : vantor::cli::Commands()) {
    if (name == command.name) return command.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "vantor: unknown subcommand '%s'\n", name.c_str());
  PrintOverview(stderr);
  return vantor::cli::kExitUsage;
}
