// vantor frames: one CSV line per good frame of a data log, as the frame
// processing loop derives it.

#include <cstdio>
#include <string>
#include <vector>

#include "cli.h"
#include "export_messages.h"
#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/frame_loop.h"
#include "live/live_data.h"

namespace vantor::cli {
namespace {

int RunFrames(const std::vector<std::string>& argv);

const Command kFrames{
    "frames", "list the frames of a data log as CSV",
    "usage: vantor frames LOG.dat [--config CFG]\n\n"
    "Reads LOG.dat through the frame reader and the frame processing loop and\n"
    "writes one CSV line per good frame to stdout:\n"
    "  index,time,mark,run_seconds,rpm,cylinders,map_sensor_bar,bank_valid,\n"
    "  active_bank,engine_running,wb_afr,fuel_pressure\n"
    "time and mark are the time stamp and mark met with the frame (empty when\n"
    "none); the values are those after the frame. A log that cannot be read to\n"
    "its end is reported and exits with 1.\n\n"
    "  --config CFG   settings file to read (the analogue channel assignment)\n",
    RunFrames};
const Registration kRegistration(kFrames);

constexpr const char* kHeader =
    "index,time,mark,run_seconds,rpm,cylinders,map_sensor_bar,bank_valid,active_bank,engine_running,wb_afr,"
    "fuel_pressure\n";

void PrintFrame(long index, const LogFrameRead& frame, const LiveData& live) {
  std::printf("%ld,%s,%s,%d,%d,%d,%d,%d,%d,%d,%.1f,%.1f\n", index, frame.timeText, frame.markText,
              DecodeRunTime(frame.data).totalSeconds, live.rpm.load(), live.cylinders.load(),
              live.mapSensorBar.load(), live.bankValid.load(), live.activeBank.load(), live.engineRunning.load(),
              live.wbAfr.load(), live.fuelPressure.load());
}

int ListFrames(const std::string& path, const Settings& settings) {
  LogFileReader file;
  if (!file.Open(path)) {
    SayCannotOpenLog(kFrames.name, path);
    return kExitFailure;
  }
  ByteSources sources(nullptr, ByteSourceId::Analysis);
  sources.SetAnalysisFile(true, &file);
  LiveData live;
  AdcChannels adc;
  adc.BuildActiveChannels(settings);
  DisplayState state;
  state.SetMode(DisplayMode::Analysis);  // no display consumes the frames
  FrameLoop loop(sources, live, adc, state);
  loop.ApplySettings(settings);
  // The header comes with the first frame, or at the end of a log without one.
  bool headed = false;
  const auto head = [&headed] { headed = headed || std::fputs(kHeader, stdout) >= 0; };
  long index = 0;
  for (;;) {
    const int result = loop.ProcessNextFrame();
    if (result == kFrameEndOfData) break;
    if (result != kFrameOk) continue;
    head();
    PrintFrame(index++, loop.LastFrame(), live);
  }
  sources.SetAnalysisFile(false, nullptr);
  // The data may have ended at a read error rather than at the end of the file.
  if (file.ReadFailed()) {
    Say(kFrames.name, ExportFailureText(ExportResult::kReadFailed, path, ""));
    return kExitFailure;
  }
  head();
  return StdoutWritten(kFrames.name) ? kExitOk : kExitFailure;
}

int RunFrames(const std::vector<std::string>& argv) {
  const Args args(argv, {"--config"}, {});
  if (args.WantsHelp()) return PrintHelp(kFrames);
  if (!args.Ok()) return UsageError(kFrames, args.Error());
  if (args.Positional().size() != 1) return UsageError(kFrames, "one log file is needed");
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;
  return ListFrames(args.Positional()[0], settings);
}

}  // namespace
}  // namespace vantor::cli
