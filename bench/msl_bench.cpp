// The viewer log (.msl) of a one-hour log (61,200 frames) against the CSV
// dump of the same log: the export must take at most three times the dump's
// processor time (msl_x_csv), and says so by failing the ratio run.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "logs/dump_log.h"
#include "logs/msl_export.h"
#include "one_hour_log.h"

namespace {

using namespace vantor::bench;

constexpr double kMostTimesTheCsv = 3.0;

void BM_MslExport(benchmark::State& state) {
  const std::string out = BenchPath("_hour.msl");
  const vantor::Settings settings = BenchSettings(false);
  for (auto _ : state) {
    if (vantor::ExportMsl(OneHourLog(), out, settings, "vantor", {}) != vantor::ExportResult::kOk)
      state.SkipWithError("msl");
  }
  state.counters["out_MB"] = static_cast<double>(std::filesystem::file_size(out)) / 1e6;
  std::filesystem::remove(out);
}
BENCHMARK(BM_MslExport)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_MslToCsvRatio(benchmark::State& state) {
  const std::string& log = OneHourLog();
  const std::string csvOut = BenchPath("_ratio.csv"), mslOut = BenchPath("_ratio.msl");
  const vantor::Settings csv = BenchSettings(true), msl = BenchSettings(false);
  double csvSeconds = 0, mslSeconds = 0;
  for (auto _ : state) {
    double start = ThreadSeconds();
    if (vantor::DumpLog(log, csvOut, csv, {}) != vantor::ExportResult::kOk) state.SkipWithError("dump");
    csvSeconds += ThreadSeconds() - start;
    start = ThreadSeconds();
    if (vantor::ExportMsl(log, mslOut, msl, "vantor", {}) != vantor::ExportResult::kOk) state.SkipWithError("msl");
    mslSeconds += ThreadSeconds() - start;
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["csv_ms"] = csvSeconds * 1000 / iterations;
  state.counters["msl_ms"] = mslSeconds * 1000 / iterations;
  state.counters["msl_x_csv"] = mslSeconds / csvSeconds;
  if (mslSeconds > kMostTimesTheCsv * csvSeconds) state.SkipWithError("the viewer log takes more than 3 x the CSV");
  std::filesystem::remove(csvOut);
  std::filesystem::remove(mslOut);
}
BENCHMARK(BM_MslToCsvRatio)->Unit(benchmark::kMillisecond)->MinTime(3.0)->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
