// vantor velearn: VE learn over recorded logs, writing the new BIN as the
// program does when learning stops.

#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"
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
    "NEW.bin is updated in place. Prints the frame and sample counts and the\n"
    "smoother's error code.\n\n"
    "  --config CFG      settings file (learn limits, [SMOOTHFAC], analogue channels)\n"
    "  --mode blm|wb     learn from block learn or from the wideband channel\n"
    "                    (default: [LRNINP] of CFG)\n",
    RunVeLearn};
const Registration kRegistration(kVeLearn);

void PrintMessage(const std::string& text, const std::string& caption) {
  std::fprintf(stderr, "vantor velearn: %s: %s\n", caption.c_str(), text.c_str());
}

// Feeds one log's frames; false when it cannot be opened.
bool PlayLog(const std::string& path, FrameLoop& loop, ByteSources& sources) {
  LogFileReader file;
  if (!file.Open(path)) {
    std::fprintf(stderr, "vantor velearn: can not open %s\n", path.c_str());
    return false;
  }
  sources.SetPlaybackFile(true, &file);
  while (loop.ProcessNextFrame() != kFrameEndOfData) {
  }
  sources.SetPlaybackFile(false, nullptr);
  return true;
}

int Learn(const Args& args, Settings& settings) {
  LiveData live;
  AdcChannels adc;
  adc.BuildActiveChannels(settings);
  ByteSources sources(nullptr, ByteSourceId::Playback);
  DisplayState state;  // the gauges on screen: VE learn updates without drawing
  FrameLoop loop(sources, live, adc, state);
  loop.ApplySettings(settings);
  VeLearn learn(settings, live, VeLearnHooks{PrintMessage, {}, {}, {}, {}});
  loop.SetConsumer(ConsumerSlot::VeLearn, &learn);

  // A log that cannot be read is reported before anything is learned or written.
  for (const auto& log : args.Positional()) {
    LogFileReader probe;
    if (!probe.Open(log)) {
      std::fprintf(stderr, "vantor velearn: can not open %s\n", log.c_str());
      return kExitFailure;
    }
  }
  if (!learn.Start(*args.Value("--from"), *args.Value("--out"), 0)) return kExitFailure;
  for (const auto& log : args.Positional()) {
    if (!PlayLog(log, loop, sources)) {
      learn.SaveAtExit();
      return kExitFailure;
    }
  }
  const std::uint32_t frames = learn.FrameCount(), samples = learn.SampleCount();
  const bool written = learn.Stop();
  std::printf("frames %u\nsamples %u\n", frames, samples);
  if (learn.LastSmootherError() == VeLearn::kSmootherNotRun)
    std::printf("smoother not run (smoothing factor 0)\n");
  else
    std::printf("ier %d\n", learn.LastSmootherError());
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
