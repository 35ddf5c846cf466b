// vantor velearn: VE learn over recorded logs, writing the new BIN as the
// program does when learning stops.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bin_check.h"
#include "cal/ve_file.h"
#include "cli.h"
#include "export_messages.h"
#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "velearn/learn_report.h"
#include "velearn/ve_learn.h"

namespace vantor::cli {
namespace {

int RunVeLearn(const std::vector<std::string>& argv);

const Command kVeLearn{
    "velearn", "learn VE corrections from data logs into a new BIN",
    "usage: vantor velearn --from SRC.bin --out NEW.bin [--config CFG] [--mode blm|wb]\n"
    "                      [--report REPORT.csv] LOG.dat...\n\n"
    "Plays the logs in order through the frame processing loop with VE learn\n"
    "active, then stops learning: NEW.bin is written exactly as the program\n"
    "writes it (smoothed with [SMOOTHFAC], generation of SRC.bin + 1). An existing\n"
    "NEW.bin is replaced. Prints the frame and sample counts and the smoother's\n"
    "error code. Nothing is written when no sample was learned, when a log cannot\n"
    "be read, or when NEW.bin would be SRC.bin or one of the logs.\n\n"
    "  --config CFG      settings file (learn limits, [SMOOTHFAC], analogue channels)\n"
    "  --mode blm|wb     learn from block learn or from the wideband channel\n"
    "                    (default: [LRNINP] of CFG)\n"
    "  --report FILE     a CSV line per VE cell: the frames seen nearest it while\n"
    "                    learning, those accepted as samples, those passed by at\n"
    "                    each gate of the learn rules, the mean correction of its\n"
    "                    samples, its original and its new value; and a summary on\n"
    "                    stdout: cells learned, cells left for want of samples,\n"
    "                    frames passed by at each gate, the largest changes. Written\n"
    "                    also when nothing was learned, to say why.\n",
    RunVeLearn};
const Registration kRegistration(kVeLearn);

void PrintMessage(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "vantor velearn: %s: %s\n", caption.c_str(), text.c_str());
}

// SRC.bin is a BIN, the logs open and NEW.bin is none of the inputs; false
// with the reason on stderr.
bool FilesUsable(const std::string& from, const std::string& out, const std::optional<std::string>& report,
                 const std::vector<std::string>& logs) {
  if (!IsBinOrSay(kVeLearn.name, from, BinReader::MainProgram)) return false;
  std::vector<std::string> inputs = logs;
  inputs.push_back(from);
  if (OutputIsAnInput(kVeLearn.name, out, inputs)) return false;
  inputs.push_back(out);
  if (report && OutputIsAnInput(kVeLearn.name, *report, inputs)) return false;
  for (const auto& log : logs) {
    if (!LogFileReader().Open(log)) {
      SayCannotOpenLog(kVeLearn.name, log);
      return false;
    }
  }
  return true;
}

// Feeds one log's frames; false (reason on stderr) when it cannot be read to its end.
bool PlayLog(const std::string& path, FrameLoop& loop, ByteSources& sources) {
  LogFileReader file;
  if (!file.Open(path)) {
    SayCannotOpenLog(kVeLearn.name, path);
    return false;
  }
  sources.SetPlaybackFile(true, &file);
  while (loop.ProcessNextFrame() != kFrameEndOfData) {
  }
  sources.SetPlaybackFile(false, nullptr);
  if (!file.ReadFailed()) return true;
  Say(kVeLearn.name, ExportFailureText(ExportResult::kReadFailed, path, ""));
  return false;
}

void PrintCounts(const VeLearn& learn) {
  std::printf("frames %u\nsamples %u\n", learn.FrameCount(), learn.SampleCount());
}

void PrintSmootherResult(const VeLearn& learn) {
  if (learn.LastSmootherError() == VeLearn::kSmootherNotRun)
    std::printf("smoother not run (smoothing factor 0)\n");
  else
    std::printf("ier %d\n", learn.LastSmootherError());
}

constexpr std::size_t kLargestChangesShown = 5;

void PrintSummary(const VeLearn& learn, const LearnReport& report, const VeTable& newTable) {
  const LearnSummary summary = SummariseLearn(learn.Original(), learn.Correction(), newTable, kLargestChangesShown);
  std::printf("cells learned %d of %d\n", summary.learned, kVeRows * kVeColumns);
  std::printf("cells unchanged for want of samples %d\n", summary.wantingSamples);
  const auto totals = report.Totals();
  std::printf("frames passed by:");
  for (int gate = 1; gate < kLearnGateCount; ++gate)
    if (totals[gate] != 0)
      std::printf(" %s %llu", LearnGateName(LearnGate(gate)), static_cast<unsigned long long>(totals[gate]));
  std::printf("\nlargest changes:%s\n", summary.largest.empty() ? " none" : "");
  for (const LearnedCellChange& change : summary.largest)
    std::printf("  %d rpm x %d kPa: %d -> %d (%+.1f%%)\n", kVeRpmAxis[change.cell.row - 1],
                kVeMapAxis[change.cell.column - 1], change.original, change.newValue, change.percent);
}

bool Report(const VeLearn& learn, const LearnReport& report, bool written, const std::string& path) {
  // After the stop the learned table is the smoothed one the new BIN holds.
  const VeTable& newTable = written ? learn.Learned() : learn.Original();
  PrintSummary(learn, report, newTable);
  if (!report.WriteCsv(path, learn.Original(), newTable)) {
    Say(kVeLearn.name, "can not write the report " + path);
    return false;
  }
  std::printf("report %s\n", path.c_str());
  return true;
}

int Learn(const Args& args, Settings& settings) {
  const std::string from = *args.Value("--from"), out = *args.Value("--out");
  const std::optional<std::string> reportPath = args.Value("--report");
  if (!FilesUsable(from, out, reportPath, args.Positional())) return kExitFailure;
  LiveData live;
  AdcChannels adc;
  adc.BuildActiveChannels(settings);
  ByteSources sources(nullptr, ByteSourceId::Playback);
  DisplayState state;  // the gauges on screen: VE learn updates without drawing
  FrameLoop loop(sources, live, adc, state);
  loop.ApplySettings(settings);
  VeLearn learn(settings, live, VeLearnHooks{PrintMessage, {}, {}, {}, {}});
  loop.SetConsumer(ConsumerSlot::VeLearn, &learn);
  LearnReport report;
  if (reportPath) learn.SetObserver(&report);
  if (!learn.Start(from, out, 0)) return kExitFailure;
  // Leaving without Stop writes nothing: a run that fails keeps NEW.bin as it was.
  for (const auto& log : args.Positional())
    if (!PlayLog(log, loop, sources)) return kExitFailure;
  PrintCounts(learn);
  const bool learned = learn.SampleCount() != 0;
  if (!learned) Say(kVeLearn.name, "no sample was learned from the logs: " + out + " not written");
  const bool written = learned && learn.Stop();
  if (learned) PrintSmootherResult(learn);
  const bool reported = (!reportPath || Report(learn, report, written, *reportPath)) && StdoutWritten(kVeLearn.name);
  return written && reported ? kExitOk : kExitFailure;
}

int RunVeLearn(const std::vector<std::string>& argv) {
  const Args args(argv, {"--from", "--out", "--config", "--mode", "--report"}, {});
  if (args.WantsHelp()) return PrintHelp(kVeLearn);
  if (!args.Ok()) return UsageError(kVeLearn, args.Error());
  if (!args.Value("--from") || !args.Value("--out")) return UsageError(kVeLearn, "--from and --out are needed");
  if (args.Positional().empty()) return UsageError(kVeLearn, "at least one log is needed");
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  if (const auto mode = args.Value("--mode")) {
    if (*mode != "blm" && *mode != "wb") return UsageError(kVeLearn, "--mode is blm or wb");
    settings.lrnInp = *mode == "wb" ? 1 : 0;
  }
  return Learn(args, settings);
}

}  // namespace
}  // namespace vantor::cli
