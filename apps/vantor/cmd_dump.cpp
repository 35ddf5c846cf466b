// vantor dump: a data log as a text table or CSV file, exactly as the
// Analysis display's Dump button writes it, or as a viewer log.

#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"
#include "export_messages.h"
#include "logs/dump_log.h"
#include "logs/msl_export.h"
#include "platform/device_path.h"

namespace vantor::cli {
namespace {

int RunDump(const std::vector<std::string>& argv);

const Command kDump{
    "dump", "write a data log as a text table, a CSV file or a viewer log (.msl)",
    "usage: vantor dump LOG.dat [--csv] [--single-header] [-o OUT] [--config CFG]\n"
    "       vantor dump LOG.dat --msl [-o OUT.msl] [--config CFG]\n\n"
    "Writes every valid frame of LOG.dat as one row (CR LF line ends), as the\n"
    "Analysis display's Dump Log button does, and prints the name of the file\n"
    "written. A file in which no frame passes its check is not a data log: no\n"
    "output is written. OUT is never LOG itself.\n\n"
    "  --csv            comma-separated values (default: a text table)\n"
    "  --single-header  one heading line (default: a heading whenever the\n"
    "                   seconds change, with the marks and time stamps met)\n"
    "  --msl            the tab-separated log the common log viewers open:\n"
    "                   program, module and firmware, capture date, channel\n"
    "                   names (Time first) and units, then a line per frame with\n"
    "                   the CSV's values unpadded (Time = run seconds plus the\n"
    "                   frame's place in its second, 1/17 s each; flags 1/0; an\n"
    "                   automatic's range 0 P/N, 1 first/second, 3 third, 4\n"
    "                   overdrive) and \"MARK nnn - text\" for each mark or stamp\n"
    "  -o OUT           output file (default: LOG with .csv, .ORV or .msl)\n"
    "  --config CFG     settings file: units, [TRANSTYPE], the analogue channels\n",
    RunDump};
const Registration kRegistration(kDump);

int RunDump(const std::vector<std::string>& argv) {
  const Args args(argv, {"-o", "--config"}, {"--csv", "--single-header", "--msl"});
  if (args.WantsHelp()) return PrintHelp(kDump);
  if (!args.Ok()) return UsageError(kDump, args.Error());
  if (args.Positional().size() != 1) return UsageError(kDump, "one log file is needed");
  const bool msl = args.Has("--msl");
  if (msl && (args.Has("--csv") || args.Has("--single-header")))
    return UsageError(kDump, "--msl takes neither --csv nor --single-header");
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  settings.anaCsv = args.Has("--csv") ? 1 : 0;
  settings.anaSHeader = args.Has("--single-header") ? 1 : 0;
  const std::string& log = args.Positional()[0];
  const std::string out = args.Value("-o").value_or(msl ? MslOutputPath(log) : DumpOutputPath(log, settings.anaCsv == 1));
  const ExportResult result = msl ? ExportMsl(log, out, settings, "vantor", {}, FramelessLog::Refuse)
                                  : DumpLog(log, out, settings, {}, FramelessLog::Refuse);
  if (result != ExportResult::kOk) {
    Say(kDump.name, ExportFailureText(result, log, out));
    return kExitFailure;
  }
  // A device (such as /dev/stdout) took the rows itself.
  if (!IsDevicePath(out)) std::printf("%s\n", out.c_str());
  return kExitOk;
}

}  // namespace
}  // namespace vantor::cli
