// Compiled in where the drawing library is linked into the tool.
#ifdef VANTOR_HAS_UI_DRAW

#include "screenshot_analysis.h"

#include <cstdio>

#include "live/byte_source.h"
#include "ui/draw/headless_analysis.h"
#include "ui/draw/png_writer.h"

namespace vantor::cli {

bool IsAnalysisScreenshot(const std::string& display) { return display == "analysis" || display == "qtr"; }

int RunAnalysisScreenshot(const Args& args, const std::string& display, const std::string& out) {
  const bool graph = display == "qtr";
  if (!args.Has("--log")) {
    std::fprintf(stderr, "vantor screenshot: --display %s needs --log LOG.dat\n", display.c_str());
    return kExitUsage;
  }
  if (graph && !args.Has("--line")) {
    std::fprintf(stderr, "vantor screenshot: --display qtr needs --line N\n");
    return kExitUsage;
  }
  long line = -1;
  if (args.Has("--line") && !ParseInt("screenshot", "--line", *args.Value("--line"), 0, 0x7FFFFFFF, &line))
    return kExitUsage;
  Settings settings;
  if (!LoadSettings(args, &settings)) return kExitFailure;

  const std::string log = *args.Value("--log");
  if (!LogFileReader().Open(log)) {
    SayCannotOpenLog("screenshot", log);
    return kExitFailure;
  }
  ui::HeadlessAnalysis analysis(settings);
  std::string error;
  if (!analysis.Load(log, &error)) {
    Say("screenshot", error);
    return kExitFailure;
  }
  const int at = static_cast<int>(line);
  if (line >= analysis.LineCount() || !(graph ? analysis.PaintGraph(at) : analysis.PaintDisplay(at))) {
    std::fprintf(stderr, "vantor screenshot: line %ld is past the last line of the table (%d lines)\n", line,
                 analysis.LineCount());
    return kExitFailure;
  }
  const ui::RasterCanvas& canvas = analysis.Canvas();
  if (!ui::WritePng(out, canvas.Width(), canvas.Height(), canvas.Pixels(), &error)) {
    Say("screenshot", error);
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace vantor::cli

#endif  // VANTOR_HAS_UI_DRAW
