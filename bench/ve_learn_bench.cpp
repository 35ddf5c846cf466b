// VE learn's Recompute (the learned and correction tables from the learn
// grid, run every 17th frame on the display thread) on a grid filled by a
// sweep of steady closed-loop frames over the whole RPM and MAP range.

#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "cal/cal_image.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "settings/settings.h"
#include "velearn/ve_learn.h"

namespace {

namespace fs = std::filesystem;

using Frame = std::array<std::uint8_t, 273>;

// A BIN whose VE cells rise with MAP, as a stock table does.
void WriteSourceBin(const std::string& path) {
  vantor::CalImage image;
  const char* signature = "ORV9";
  for (int i = 0; i < 4; ++i) image[2 + i] = static_cast<std::uint8_t>(signature[i]);
  image.SetLayoutVersion(vantor::kLayout11);
  for (int r = 1; r <= vantor::kVeRows; ++r)
    for (int c = 1; c <= vantor::kVeColumns; ++c) image.SetVeCell(r, c, static_cast<std::uint8_t>(100 + 10 * c));
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.Data()), vantor::kCalImageSize);
}

// Warm, closed loop with block learn on, BLM scattered around 128 with a
// quiet integrator, so every gate passes.
Frame SteadyFrame(int rpmByte, int mapByte, unsigned* scatter) {
  *scatter = *scatter * 1103515245u + 12345u;
  Frame f{};
  f[vantor::frame::kCoolantTemp] = 174;
  f[vantor::frame::kLoadMap] = static_cast<std::uint8_t>(mapByte);
  f[vantor::frame::kTps] = 20;
  f[vantor::frame::kRpmCoarse28] = static_cast<std::uint8_t>(rpmByte);
  f[vantor::frame::kRpmStep31] = static_cast<std::uint8_t>(rpmByte >= 240 ? (rpmByte - 240) * 4 : 0);
  f[vantor::frame::kFlags14] = 0x82;
  f[vantor::frame::kBlm] = static_cast<std::uint8_t>(118 + (*scatter >> 16) % 21);
  f[vantor::frame::kInt] = 128;
  f[vantor::frame::kCommandedAfr] = 147;
  return f;
}

void BM_VeLearnRecompute(benchmark::State& state) {
  const fs::path dir = fs::temp_directory_path() / "ve_learn_bench";
  fs::create_directories(dir);
  const std::string source = (dir / "source.bin").string();
  WriteSourceBin(source);
  vantor::Settings settings;
  vantor::LiveData live;
  live.engineRunning = 1;
  vantor::VeLearn learn(settings, live, {});
  if (!learn.Start(source, (dir / "learned.bin").string(), 0)) {
    state.SkipWithError("learning did not start");
    fs::remove_all(dir);
    return;
  }
  unsigned scatter = 2024u;
  for (int mapByte = 0; mapByte < 256; mapByte += 3) {
    for (int rpmByte = 16; rpmByte < 256; rpmByte += 2) {
      const Frame f = SteadyFrame(rpmByte, mapByte, &scatter);
      // The first frame after a jump is only remembered; the repeats are sampled.
      for (int i = 0; i < 3; ++i) learn.OnFrame(f.data(), false);
    }
  }
  for (auto _ : state) {
    learn.Recompute();
    benchmark::ClobberMemory();
  }
  state.counters["samples"] = learn.SampleCount();
  fs::remove_all(dir);
}
BENCHMARK(BM_VeLearnRecompute)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
