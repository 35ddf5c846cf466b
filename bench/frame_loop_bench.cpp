// ProcessNextFrame from a log file with every consumer that exists in the
// libraries linked here (VE learn, learning). The budget per frame is
// 1/17 s; the goal is under 20 microseconds.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/crc16.h"
#include "live/adc_channels.h"
#include "live/byte_source.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "settings/settings.h"
#include "sim/default_calibration.h"
#include "sim/engine_model.h"
#include "velearn/ve_learn.h"

namespace vantor {
namespace {

constexpr int kLogFrames = 17 * 600;  // ten minutes of driving

std::string TempPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("vantor_bench_" + name)).string();
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> EngineLog(int frames) {
  sim::EngineModel engine;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(frames) * kLogFrameSize);
  std::uint8_t data[kFrameDataSize];
  for (int i = 0; i < frames; ++i) {
    engine.NextFrame(data);
    const std::uint16_t crc = Crc16Prefixed(0x55, 0xAA, data, kFrameDataSize);
    bytes.push_back(0x55);
    bytes.push_back(0xAA);
    bytes.insert(bytes.end(), data, data + kFrameDataSize);
    bytes.push_back(static_cast<std::uint8_t>(crc >> 8));
    bytes.push_back(static_cast<std::uint8_t>(crc));
  }
  return bytes;
}

void BM_ProcessNextFrame(benchmark::State& benchState) {
  const std::string logPath = TempPath("drive.dat");
  const std::string binPath = TempPath("source.bin");
  WriteBytes(logPath, EngineLog(kLogFrames));
  WriteBytes(binPath, sim::DefaultBankImage(0));

  Settings settings;
  LiveData live;
  AdcChannels adc;
  adc.BuildActiveChannels(settings);
  DisplayState state;
  state.SetMode(DisplayMode::Gauges);
  LogFileReader file;
  if (!file.Open(logPath)) {
    benchState.SkipWithError("log not written");
    return;
  }
  ByteSources sources(nullptr, ByteSourceId::Analysis);
  sources.SetAnalysisFile(true, &file);
  FrameLoop loop(sources, live, adc, state);
  loop.ApplySettings(settings);
  VeLearn veLearn(settings, live, {});
  if (!veLearn.Start(binPath, TempPath("learned.bin"), 0)) {
    benchState.SkipWithError("VE learn did not start");
    return;
  }
  loop.SetConsumer(ConsumerSlot::VeLearn, &veLearn);

  int left = kLogFrames;
  for (auto _ : benchState) {
    if (left == 0) {
      benchState.PauseTiming();
      sources.SetAnalysisFile(false, nullptr);
      file.Seek(0);
      sources.SetAnalysisFile(true, &file);
      left = kLogFrames;
      benchState.ResumeTiming();
    }
    benchmark::DoNotOptimize(loop.ProcessNextFrame());
    --left;
  }
  benchState.SetItemsProcessed(benchState.iterations());
  sources.SetAnalysisFile(false, nullptr);
  std::filesystem::remove(logPath);
  std::filesystem::remove(binPath);
}
BENCHMARK(BM_ProcessNextFrame);

}  // namespace
}  // namespace vantor

BENCHMARK_MAIN();
