// vantor velearn: VE learn over recorded logs, writing the new BIN as the
// program does when learning stops.

#include <cstdio>
#include <string>
#include <vector>

#include "bin_check.h"
#include "cli.h"
#include "export_messages.h"
#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "velearn/ve_learn.h"

namespace vantor::cli {
namespace {

int RunVeLearn(const std::vector<std::string>& argv);

const Command kVeLearn{
    "velearn", "learn VE corrections from data logs into a new BIN",
    "usage: vantor velearn --from SRC.bin --out NEW.bin [--config CFG] [--mode blm|wb] LOG.dat...\n\n"
    "Plays the logs in order through the frame processing loop with VE learn\n"
    "active, then stops learning: NEW.bin is written exactly as the program\n"
    "writes it (smoothed with [SMOOTHFAC], generation of SRC.bin + 1). An existing\n"
    "NEW.bin is replaced. Prints the frame and sample counts and the smoother's\n"
    "error code. Nothing is written when no sample was learned, when a log cannot\n"
    "be read, or when NEW.bin would be SRC.bin or one of the logs.\n\n"
    "  --config CFG      settings file (learn limits, [SMOOTHFAC], analogue channels)\n"
    "  --mode blm|wb     learn from block learn or from the wideband channel\n"
    "                    (default: [LRNINP] of CFG)\n",
    RunVeLearn};
const Registration kRegistration(kVeLearn);

void PrintMessage(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "vantor velearn: %s: %s\n", caption.c_str(), text.c_str());
}

// SRC.bin is a BIN, the logs open and NEW.bin is none of the inputs; false
// with the reason on stderr.
bool FilesUsable(const std::string& from, const std::string& out, const std::vector<std::string>& logs) {
  if (!IsBinOrSay(kVeLearn.name, from, BinReader::MainProgram)) return false;
  std::vector<std::string> inputs = logs;
  inputs.push_back(from);
  if (OutputIsAnInput(kVeLearn.name, out, inputs)) return false;
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

int Learn(const Args& args, Settings& settings) {
  const std::string from = *args.Value("--from"), out = *args.Value("--out");
  if (!FilesUsable(from, out, args.Positional())) return kExitFailure;
  LiveData live;
  AdcChannels adc;
  adc.BuildActiveChannels(settings);
  ByteSources sources(nullptr, ByteSourceId::Playback);
  DisplayState state;  // the gauges on screen: VE learn updates without drawing
  FrameLoop loop(sources, live, adc, state);
  loop.ApplySettings(settings);
  VeLearn learn(settings, live, VeLearnHooks{PrintMessage, {}, {}, {}, {}});
  loop.SetConsumer(ConsumerSlot::VeLearn, &learn);
  if (!learn.Start(from, out, 0)) return kExitFailure;
  // Leaving without Stop writes nothing: a run that fails keeps NEW.bin as it was.
  for (const auto& log : args.Positional())
    if (!PlayLog(log, loop, sources)) return kExitFailure;
  PrintCounts(learn);
  if (learn.SampleCount() == 0) {
    Say(kVeLearn.name, "no sample was learned from the logs: " + out + " not written");
    return kExitFailure;
  }
  const bool written = learn.Stop();
  PrintSmootherResult(learn);
  return written ? kExitOk : kExitFailure;
}

int RunVeLearn(const std::vector<std::string>& argv) {
  const Args args(argv, {"--from", "--out", "--config", "--mode"}, {});
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
