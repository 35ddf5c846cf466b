// The passes over a data log: the Analysis view lines, the dump in both
// forms, and the quarter-mile figures and traces from the view.
#include <cstdio>
#include <filesystem>

#include "fuzz/fuzz_input_file.h"
#include "logs/analysis_view_file.h"
#include "logs/dump_log.h"
#include "logs/quarter_mile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string log = vantor::fuzz::InputFile("passes.dat", data, size);
  const vantor::ExportHooks hooks{};
  vantor::Settings settings;
  const std::string out = vantor::fuzz::ScratchPath("passes.out");
  for (int csv = 0; csv < 2; ++csv) {
    settings.anaCsv = csv;
    vantor::DumpLog(log, out, settings, hooks);
  }
  std::remove(out.c_str());

  vantor::AnalysisViewFile view;
  if (!view.Create(std::filesystem::temp_directory_path())) return 0;
  if (vantor::BuildViewFile(view, log, settings, hooks) != vantor::ExportResult::kOk) return 0;
  const int lines = view.LineCount();
  for (int start : {0, lines / 2, lines - 1}) {
    if (start < 0) continue;
    const vantor::PerformanceResults results = vantor::ComputePerformance(view, start, size % 2 == 0);
    const int step = vantor::StepPixels(results);
    vantor::BuildTraces(view, start, step, vantor::TraceOptions{});
    vantor::ReadoutAt(view, start, step, vantor::qtr_graph::kCursorStart + 37, size % 3 == 0);
  }
  return 0;
}
