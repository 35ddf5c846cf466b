// Drawing cost of the gauge display in the software canvas: one frame's
// incremental drawing (17 a second at the fastest update rate) and a full
// repaint.
#ifdef VANTOR_HAS_UI_DRAW

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "live/adc_channels.h"
#include "live/live_data.h"
#include "sim/engine_model.h"
#include "ui/draw/display_painter.h"
#include "ui/draw/headless_display.h"
#include "ui/draw/live_data_view.h"

namespace {

using namespace vantor;
using namespace vantor::ui;

struct GaugeBench {
  Settings settings;
  LiveData live;
  AdcChannels channels;
  LiveDataView view{live, channels, nullptr};
  ActivitySpinner spinner;
  StatusPanel panel{view, spinner, nullptr};
  RasterCanvas canvas{800, 600};
  RasterSurface surface{canvas};
  GaugeDisplay gauges{settings, view, panel, surface};
  DisplayPainter painter{view, panel, gauges};
  std::vector<std::array<std::uint8_t, 273>> frames;

  GaugeBench() {
    settings.updateDivisor = 0;
    sim::EngineModel engine;
    frames.resize(17 * 60);
    for (auto& frame : frames) engine.NextFrame(frame.data());
    painter.Paint(canvas, DisplayMode::Gauges);
  }
};

void BM_GaugeFrameDraw(benchmark::State& state) {
  GaugeBench bench;
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& frame = bench.frames[i++ % bench.frames.size()];
    UpdateLiveData(bench.live, frame.data());
    bench.gauges.OnFrame(frame.data(), true);
    benchmark::DoNotOptimize(bench.canvas.TakeDirty());
  }
}
BENCHMARK(BM_GaugeFrameDraw);

void BM_GaugeFullRepaint(benchmark::State& state) {
  GaugeBench bench;
  for (auto _ : state) {
    bench.painter.Paint(bench.canvas, DisplayMode::Gauges);
    benchmark::DoNotOptimize(bench.canvas.TakeDirty());
  }
}
BENCHMARK(BM_GaugeFullRepaint);

}  // namespace

BENCHMARK_MAIN();

#else
int main() { return 0; }
#endif  // VANTOR_HAS_UI_DRAW
