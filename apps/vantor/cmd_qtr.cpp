// vantor qtr: the quarter-mile results from a line of the Analysis table.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli.h"
#include "export_messages.h"
#include "logs/analysis_messages.h"
#include "logs/analysis_view_file.h"
#include "logs/quarter_mile.h"

namespace vantor::cli {
namespace {

int RunQtr(const std::vector<std::string>& argv);

const Command kQtr{
    "qtr", "measure a standing-start run in a data log",
    "usage: vantor qtr LOG.dat [--line N] [--config CFG]\n\n"
    "Computes 0-60, 60 foot, 330 foot, 1/8 and 1/4 mile times and trap speeds\n"
    "from line N (default 0) of the Analysis table of LOG.dat, as the\n"
    "\"1/4 Mile Graph\" does, and prints one result a line.\n\n"
    "  --line N       start line of the run\n"
    "  --config CFG   settings file: [KPHORMPH]\n",
    RunQtr};
const Registration kRegistration(kQtr);

void PrintResults(const PerformanceResults& r) {
  std::printf("0-60 mph: %s\n60 foot: %s\n330 foot: %s\n1/8 Mile: %s\n1/8 trap: %s\n1/4 Mile: %s\n1/4 trap: %s\n",
              SecondsText(r.t060).c_str(), SecondsText(r.t60ft).c_str(), SecondsText(r.t330ft).c_str(),
              SecondsText(r.t8).c_str(), TrapText(r.trap8).c_str(), SecondsText(r.t4).c_str(),
              TrapText(r.trap4).c_str());
}

int RunQtr(const std::vector<std::string>& argv) {
  const Args args(argv, {"--line", "--config"}, {});
  if (args.WantsHelp()) return PrintHelp(kQtr);
  if (!args.Ok()) return UsageError(kQtr, args.Error());
  if (args.Positional().size() != 1) return UsageError(kQtr, "one log file is needed");
  long line = 0;
  if (const auto text = args.Value("--line"); text && !ParseInt(kQtr.name, "--line", *text, 0, 0x7FFFFFFF, &line))
    return kExitUsage;
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  AnalysisViewFile view;
  std::error_code ignored;
  if (!view.Create(std::filesystem::temp_directory_path(ignored))) {
    Say(kQtr.name, analysis_text::kTemporaryFileFailed);
    return kExitFailure;
  }
  const std::string& log = args.Positional()[0];
  const ExportResult result = BuildViewFile(view, log, settings, {});
  if (result != ExportResult::kOk) {
    Say(kQtr.name, ExportFailureText(result, log, "the temporary view file"));
    return kExitFailure;
  }
  if (line >= view.LineCount()) {
    Say(kQtr.name, "line " + std::to_string(line) + " is past the last line of the table of " + log + " (" +
                       std::to_string(view.LineCount()) + " lines)");
    return kExitFailure;
  }
  PrintResults(ComputePerformance(view, static_cast<int>(line), settings.kphOrMph == 1));
  return kExitOk;
}

}  // namespace
}  // namespace vantor::cli
