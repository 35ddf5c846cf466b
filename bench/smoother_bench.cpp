// One smoother call on a learned-looking 35 x 14 VE table, and, in the same
// run, scipy's own fit and evaluation of the same table when
// /usr/bin/python3 with scipy is installed.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "velearn/smoother.h"

namespace {

constexpr int kFactor = 12;  // the configuration's start value

// A VE surface rising with MAP with a torque hump, and a deterministic
// scatter of learned corrections on about half of the cells.
vantor::VeTable LearnedTable() {
  vantor::VeTable t;
  unsigned state = 12345u;
  const auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return static_cast<double>((state >> 8) & 0xFFFF) / 65536.0;
  };
  for (int r = 1; r <= vantor::kVeRows; ++r) {
    for (int c = 1; c <= vantor::kVeColumns; ++c) {
      const double rpm = t.At(r, 0);
      const double map = t.At(0, c);
      double v = 60.0 + 100.0 * (map - 20.0) / 80.0 + 30.0 * std::exp(-std::pow((rpm - 4000.0) / 2000.0, 2));
      if (next() < 0.5) v += (next() - 0.5) * 16.0;
      t.At(r, c) = static_cast<int>(std::lround(v));
    }
  }
  return t;
}

void BM_SmoothLearnedTable(benchmark::State& state) {
  const vantor::VeTable source = LearnedTable();
  int ier = 0;
  for (auto _ : state) {
    vantor::VeTable table = source;
    ier = vantor::SmoothLearnedTable(table, kFactor);
    benchmark::DoNotOptimize(table);
  }
  state.counters["ier"] = ier;
}
BENCHMARK(BM_SmoothLearnedTable)->Unit(benchmark::kMicrosecond);

std::string ReferenceScript() {
  return std::string(VANTOR_DATA_DIR) + "/../tests/data/smoother/make_reference.py";
}

// scipy times itself (best of several repeats) and prints wall and processor
// microseconds per call: the wall figure is this benchmark's time, the
// processor figure the counter scipy_cpu_us (compare it with the CPU column
// of BM_SmoothLearnedTable when the machine is busy).
void BM_ScipyRectBivariateSpline(benchmark::State& state) {
  if (std::system("/usr/bin/python3 -c 'import scipy.interpolate' >/dev/null 2>&1") != 0) {
    state.SkipWithError("/usr/bin/python3 with scipy not found");
    return;
  }
  const auto input = std::filesystem::temp_directory_path() / "smoother_bench_table.txt";
  {
    const vantor::VeTable table = LearnedTable();
    std::ofstream out(input);
    out << "case bench\nfactor " << kFactor << "\ncells";
    for (int r = 1; r <= vantor::kVeRows; ++r) {
      for (int c = 1; c <= vantor::kVeColumns; ++c) out << ' ' << table.At(r, c);
    }
    out << "\nend\n";
  }
  const std::string command =
      "/usr/bin/python3 '" + ReferenceScript() + "' --time '" + input.string() + "' 5";
  double wall = 0.0;
  double cpu = 0.0;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    if (std::fscanf(pipe, "%lf %lf", &wall, &cpu) != 2) wall = 0.0;
    pclose(pipe);
  }
  std::filesystem::remove(input);
  if (wall <= 0.0) {
    state.SkipWithError("scipy timing failed");
    return;
  }
  for (auto _ : state) state.SetIterationTime(wall * 1e-6);
  state.counters["scipy_cpu_us"] = cpu;
}
BENCHMARK(BM_ScipyRectBivariateSpline)->UseManualTime()->Iterations(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
