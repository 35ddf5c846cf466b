// Log analysis passes over a one-hour log (61,200 frames from the simulated
// ECM, stamps and marks included): the CSV dump and the view lines, against
// the frame reader's own pass and against the floor of merely reading the
// file and checking every frame's check value (the ratio benchmark).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "link/crc16.h"
#include "live/byte_source.h"
#include "live/frame_reader.h"
#include "logs/analysis_view_file.h"
#include "logs/dump_log.h"
#include "one_hour_log.h"

namespace {

using namespace vantor::bench;

void BM_FloorReadAndCheck(benchmark::State& state) {
  const std::string& log = OneHourLog();
  for (auto _ : state) {
    vantor::LogFileReader reader;
    reader.Open(log);
    vantor::ByteSources sources(nullptr, vantor::ByteSourceId::Analysis);
    sources.SetAnalysisFile(true, &reader);
    vantor::LogFrameRead frame;
    int frames = 0;
    for (int result; (result = vantor::ReadLogFrame(sources, frame)) != vantor::kFrameEndOfData;)
      frames += result == vantor::kFrameOk;
    sources.SetAnalysisFile(false, nullptr);
    if (frames != kFrames) state.SkipWithError("frames lost");
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(log)) / 1e6;
}
BENCHMARK(BM_FloorReadAndCheck)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_DumpCsv(benchmark::State& state) {
  const std::string out = BenchPath("_dump.csv");
  const vantor::Settings settings = BenchSettings(true);
  for (auto _ : state) {
    if (vantor::DumpLog(OneHourLog(), out, settings, {}) != vantor::ExportResult::kOk) state.SkipWithError("dump");
  }
  state.counters["out_MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
  std::filesystem::remove(out);
}
BENCHMARK(BM_DumpCsv)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ViewLines(benchmark::State& state) {
  const vantor::Settings settings = BenchSettings(false);
  vantor::AnalysisViewFile view;
  view.Create(std::filesystem::temp_directory_path());
  for (auto _ : state) {
    if (vantor::BuildViewFile(view, OneHourLog(), settings, {}) != vantor::ExportResult::kOk) state.SkipWithError("view");
  }
  if (view.LineCount() != kFrames) state.SkipWithError("lines lost");
}
BENCHMARK(BM_ViewLines)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The floor itself: the file read in blocks and every frame's check value
// computed, with nothing else done.
int CrcScan(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  std::vector<std::uint8_t> buffer(1 << 20);
  std::size_t kept = 0;  // the unscanned tail of the previous block
  int frames = 0;
  for (;;) {
    const std::size_t got = std::fread(buffer.data() + kept, 1, buffer.size() - kept, file);
    const std::size_t size = kept + got;
    std::size_t i = 0;
    while (i + vantor::kLogFrameSize <= size) {
      const std::uint8_t* at = buffer.data() + i;
      if (at[0] == 0x55 && at[1] == 0xAA &&
          vantor::Crc16Prefixed(0x55, 0xAA, at + 2, vantor::kFrameDataSize) == (at[275] << 8 | at[276])) {
        ++frames;
        i += vantor::kLogFrameSize;
      } else {
        ++i;
      }
    }
    if (got == 0) break;
    kept = size - i;
    std::memmove(buffer.data(), buffer.data() + i, kept);
  }
  std::fclose(file);
  return frames;
}

// The floor, the CSV dump and the view lines timed in the same run, in
// processor time: their ratios hold however busy the machine is.
void BM_RatioToCrcFloor(benchmark::State& state) {
  const std::string& log = OneHourLog();
  const std::string out = BenchPath("_ratio.csv");
  const vantor::Settings csv = BenchSettings(true);
  const vantor::Settings text = BenchSettings(false);
  vantor::AnalysisViewFile view;
  view.Create(std::filesystem::temp_directory_path());
  double floor = 0, dump = 0, lines = 0;
  const auto seconds = [](double from) { return ThreadSeconds() - from; };
  for (auto _ : state) {
    double start = ThreadSeconds();
    if (CrcScan(log) != kFrames) state.SkipWithError("frames lost");
    floor += seconds(start);
    start = ThreadSeconds();
    if (vantor::DumpLog(log, out, csv, {}) != vantor::ExportResult::kOk) state.SkipWithError("dump");
    dump += seconds(start);
    start = ThreadSeconds();
    if (vantor::BuildViewFile(view, log, text, {}) != vantor::ExportResult::kOk) state.SkipWithError("view");
    lines += seconds(start);
  }
  state.counters["floor_ms"] = floor * 1000 / static_cast<double>(state.iterations());
  state.counters["dump_x_floor"] = dump / floor;
  state.counters["view_x_floor"] = lines / floor;
  std::filesystem::remove(out);
}
BENCHMARK(BM_RatioToCrcFloor)->Unit(benchmark::kMillisecond)->MinTime(3.0)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
