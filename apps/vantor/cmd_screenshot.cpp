// vantor screenshot: renders a display into an 800 x 600 PNG without a window.
// Compiled in where the drawing library is linked into the tool.
#ifdef VANTOR_HAS_UI_DRAW

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cli.h"
#include "flash_screenshot.h"
#include "screenshot_analysis.h"
#include "link/crc16.h"
#include "live/frame_reader.h"
#include "platform/working_file.h"
#include "sim/engine_model.h"
#include "ui/draw/flash_display.h"
#include "ui/draw/headless_display.h"
#include "ui/draw/headless_tool_window.h"
#include "ui/draw/png_writer.h"

namespace vantor::cli {
namespace {

int RunScreenshot(const std::vector<std::string>& argv);

const Command kScreenshot{
    "screenshot", "render a display into an 800 x 600 PNG",
    "usage: vantor screenshot --display NAME [--log LOG.dat | --sim SECONDS] [--frames N]\n"
    "                         [--config CFG] OUT.png\n\n"
    "Draws a display as the main window shows it after N frames of a data log or\n"
    "of the simulated ECM have passed through the frame processing, and writes\n"
    "the 800 x 600 client area as a PNG image. No display server is needed.\n\n"
    "  --display NAME   gauges (vantor), trip, ve, knock, diag, analysis, qtr or flash;\n"
    "                   malf or banksel: that floating window at its own size\n"
    "  --log LOG.dat    take the frames from a data log\n"
    "  --sim SECONDS    take the frames from the simulated engine, SECONDS of running\n"
    "                   (17 frames a second; the default is 10 seconds)\n"
    "  --frames N       stop after N frames (default: all of the log, or SECONDS x 17)\n"
    "  --config CFG     settings file to read\n"
    "  --line N         analysis: the selected table line (scrolled into view);\n"
    "                   qtr: the \"1/4 Mile Graph\" computed from line N (needs --log)\n",
    RunScreenshot};
const Registration kRegistration(kScreenshot);

constexpr long kFramesPerSecond = 17;

// The simulated engine's frames as a scratch log file (envelope and check
// value as on the line), so they reach the display through the frame
// processing loop. The scratch file has a name of its own and goes with it.
bool WriteSimLog(WorkingFile& scratch, long frames) {
  std::error_code error;
  if (!scratch.Create(std::filesystem::temp_directory_path(error) / "vantor_screenshot.dat")) return false;
  sim::EngineModel engine;
  std::uint8_t frame[kLogFrameSize] = {0x55, 0xAA};
  for (long i = 0; i < frames; ++i) {
    std::uint8_t* data = frame + 2;
    engine.NextFrame(data);
    const std::uint16_t check = Crc16Prefixed(0x55, 0xAA, data, kFrameDataSize);
    frame[kLogFrameSize - 2] = static_cast<std::uint8_t>(check >> 8);
    frame[kLogFrameSize - 1] = static_cast<std::uint8_t>(check);
    if (std::fwrite(frame, 1, sizeof frame, scratch.Get()) != sizeof frame) return false;
  }
  return scratch.Close();
}

int RunScreenshot(const std::vector<std::string>& argv) {
  const Args args(argv, {"--display", "--log", "--sim", "--frames", "--config", "--line"}, {});
  if (args.WantsHelp()) return PrintHelp(kScreenshot);
  if (!args.Ok()) return UsageError(kScreenshot, args.Error());
  if (args.Positional().size() != 1) return UsageError(kScreenshot, "one output file is needed");
  if (!args.Has("--display")) return UsageError(kScreenshot, "--display NAME is needed");
  if (args.Has("--log") && args.Has("--sim")) return UsageError(kScreenshot, "--log and --sim exclude each other");
  if (args.Has("--log") && OutputIsAnInput(kScreenshot.name, args.Positional()[0], {*args.Value("--log")}))
    return kExitFailure;
  if (IsAnalysisScreenshot(*args.Value("--display")))
    return RunAnalysisScreenshot(args, *args.Value("--display"), args.Positional()[0]);
  const auto tool = ui::ToolWindowByName(*args.Value("--display"));
  const auto mode = tool ? std::optional(DisplayMode::Gauges) : ui::DisplayByName(*args.Value("--display"));
  if (!mode) return UsageError(kScreenshot, "unknown display: " + *args.Value("--display"));
  long seconds = 10;
  if (args.Has("--sim") && !ParseInt(kScreenshot.name, "--sim", *args.Value("--sim"), 0, 86400, &seconds))
    return kExitUsage;
  long frames = args.Has("--log") ? 1L << 40 : seconds * kFramesPerSecond;
  if (args.Has("--frames") && !ParseInt(kScreenshot.name, "--frames", *args.Value("--frames"), 0, 100000000, &frames))
    return kExitUsage;
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;

  ui::HeadlessDisplay display(settings, *mode);
  MessagePane pane(FlashPaneStyle());
  ui::FlashDisplay flash(settings, pane);
  if (*mode == DisplayMode::Flash) {
    if (!RunSimProgramJob(pane, settings)) Say(kScreenshot.name, "the flash job failed");
    display.SetBody(DisplayMode::Flash, &flash);
  }
  display.Paint();
  std::optional<ui::HeadlessToolWindow> toolWindow;
  if (tool) toolWindow.emplace(display, *tool);
  WorkingFile scratch;
  if (!args.Has("--log") && !WriteSimLog(scratch, frames)) {
    Say(kScreenshot.name, "can not write a scratch log in the temporary folder");
    return kExitFailure;
  }
  const std::string log = args.Has("--log") ? *args.Value("--log") : scratch.Path().string();
  if (display.FeedLog(log, frames) < 0) {
    SayCannotOpenLog(kScreenshot.name, log);
    return kExitFailure;
  }
  display.Settle();
  std::string error;
  const ui::RasterCanvas& canvas = toolWindow ? toolWindow->Canvas() : display.Canvas();
  if (!ui::WritePng(args.Positional()[0], canvas.Width(), canvas.Height(), canvas.Pixels(), &error)) {
    Say(kScreenshot.name, error);
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace
}  // namespace vantor::cli

#endif  // VANTOR_HAS_UI_DRAW
