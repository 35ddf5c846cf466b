// vantor smooth: the VE table of a BIN smoothed into a new BIN.

#include <cstdio>
#include <string>
#include <vector>

#include "cal/ve_file.h"
#include "bin_check.h"
#include "cli.h"
#include "velearn/smoother.h"

namespace vantor::cli {
namespace {

int RunSmooth(const std::vector<std::string>& argv);

const Command kSmooth{
    "smooth", "smooth the VE table of a BIN into a new BIN",
    "usage: vantor smooth SRC.bin DST.bin [--factor S] [--config CFG]\n\n"
    "Reads the VE table of SRC.bin, replaces it by its smoothing spline with the\n"
    "smoothing factor S and writes DST.bin as VE learn writes a new BIN (a copy of\n"
    "SRC.bin when DST.bin does not exist, generation + 1, checksum rewritten).\n"
    "DST.bin is never SRC.bin itself.\n"
    "Prints the smoother's error code as \"ier N\"; with a positive code the table\n"
    "is written unsmoothed.\n\n"
    "  --factor S     smoothing factor 1-20 (default: [SMOOTHFAC] of CFG, else 5)\n"
    "  --config CFG   settings file to read\n",
    RunSmooth};
const Registration kRegistration(kSmooth);

int RunSmooth(const std::vector<std::string>& argv) {
  const Args args(argv, {"--factor", "--config"}, {});
  if (args.WantsHelp()) return PrintHelp(kSmooth);
  if (!args.Ok()) return UsageError(kSmooth, args.Error());
  if (args.Positional().size() != 2) return UsageError(kSmooth, "a source and a destination BIN are needed");
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  long factor = settings.smoothFac;
  if (const auto text = args.Value("--factor"); text && !ParseInt(kSmooth.name, "--factor", *text, 1, 20, &factor))
    return kExitUsage;
  const std::string& source = args.Positional()[0];
  const std::string& destination = args.Positional()[1];

  SignatureCheck check;
  if (!IsBinOrSay("smooth", source, BinReader::MainProgram, &check)) return kExitFailure;
  if (OutputIsAnInput(kSmooth.name, destination, {source})) return kExitFailure;
  VeTable table;
  if (!ReadVeTable(source, &table)) {
    std::fprintf(stderr, "vantor smooth: Error reading VE table from BIN File %s\n", source.c_str());
    return kExitFailure;
  }
  if (factor > 0) {
    std::printf("ier %d\n", SmoothLearnedTable(table, static_cast<int>(factor)));
  } else {
    std::printf("smoothing factor 0: the table is written as it is\n");
  }
  if (!WriteVeTable(source, destination, check.generation, table)) {
    std::fprintf(stderr, "vantor smooth: Error Writing VE table to BIN File %s\n", destination.c_str());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace
}  // namespace vantor::cli
