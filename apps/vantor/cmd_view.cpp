// vantor view: the Analysis view file's lines of a data log on stdout.

#include <cstdio>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "cli.h"
#include "export_messages.h"
#include "logs/analysis_view_file.h"

namespace vantor::cli {
namespace {

int RunView(const std::vector<std::string>& argv);

const Command kView{
    "view", "write the Analysis table lines of a data log",
    "usage: vantor view LOG.dat [--config CFG]\n\n"
    "Writes one 109-byte line (CR LF included) per valid frame of LOG.dat to\n"
    "stdout, as the Analysis display's view file holds them.\n\n"
    "  --config CFG   settings file: units and the wideband channel\n",
    RunView};
const Registration kRegistration(kView);

int RunView(const std::vector<std::string>& argv) {
  const Args args(argv, {"--config"}, {});
  if (args.WantsHelp()) return PrintHelp(kView);
  if (!args.Ok()) return UsageError(kView, args.Error());
  if (args.Positional().size() != 1) return UsageError(kView, "one log file is needed");
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const std::string& log = args.Positional()[0];
  const ExportResult result = WriteViewLines(stdout, log, settings, {});
  if (result == ExportResult::kOk) return kExitOk;
  Say(kView.name, ExportFailureText(result, log, "standard output"));
  return kExitFailure;
}

}  // namespace
}  // namespace vantor::cli
