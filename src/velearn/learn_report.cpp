#include "velearn/learn_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/working_file.h"
#include "velearn/learn_grid.h"

namespace vantor {
namespace {

template <typename Axis>
int NearestLabel(const Axis& axis, double value) {
  int best = 0;
  for (int i = 1; i < static_cast<int>(axis.size()); ++i)
    if (std::abs(axis[i] - value) < std::abs(axis[best] - value)) best = i;
  return best + 1;
}

double ChangePercent(int original, int newValue) {
  return original == 0 ? 0.0 : (newValue - original) * 100.0 / original;
}

}  // namespace

std::uint32_t LearnCellCounts::Seen() const {
  std::uint32_t seen = 0;
  for (std::uint32_t count : byGate) seen += count;
  return seen;
}

bool LearnCellCounts::MeanCorrectionPercent(double* percent) const {
  if (Accepted() == 0) return false;
  *percent = (static_cast<double>(sampleSum) / Accepted() / 128.0 - 1.0) * 100.0;
  return true;
}

VeCell NearestCell(int rpmBin, int mapBin) {
  return {NearestLabel(kVeRpmAxis, BinRpm(rpmBin)), NearestLabel(kVeMapAxis, 20.0 + mapBin)};
}

void LearnReport::OnVerdict(LearnGate gate, int rpmBin, int mapBin, std::uint32_t sample) {
  const VeCell cell = NearestCell(rpmBin, mapBin);
  LearnCellCounts& counts = cells_[cell.row - 1][cell.column - 1];
  ++counts.byGate[static_cast<int>(gate)];
  if (gate == LearnGate::Sampled) counts.sampleSum += sample;
}

std::array<std::uint64_t, kLearnGateCount> LearnReport::Totals() const {
  std::array<std::uint64_t, kLearnGateCount> totals{};
  for (const auto& row : cells_)
    for (const LearnCellCounts& cell : row)
      for (int gate = 0; gate < kLearnGateCount; ++gate) totals[gate] += cell.byGate[gate];
  return totals;
}

bool LearnReport::WriteCsv(const std::string& path, const VeTable& original, const VeTable& newTable) const {
  WorkingFile file;
  if (!file.Create(path)) return false;
  std::FILE* out = file.Get();
  std::fprintf(out, "rpm,kpa,seen,accepted");
  for (int gate = 1; gate < kLearnGateCount; ++gate) std::fprintf(out, ",%s", LearnGateName(LearnGate(gate)));
  std::fprintf(out, ",mean_correction_pct,original,new\n");
  for (int row = 1; row <= kVeRows; ++row) {
    for (int column = 1; column <= kVeColumns; ++column) {
      const LearnCellCounts& cell = Cell(row, column);
      std::fprintf(out, "%d,%d,%u,%u", kVeRpmAxis[row - 1], kVeMapAxis[column - 1], cell.Seen(), cell.Accepted());
      for (int gate = 1; gate < kLearnGateCount; ++gate) std::fprintf(out, ",%u", cell.byGate[gate]);
      double mean = 0;
      if (cell.MeanCorrectionPercent(&mean))
        std::fprintf(out, ",%.2f", mean);
      else
        std::fputc(',', out);
      std::fprintf(out, ",%d,%d\n", original.At(row, column), newTable.At(row, column));
    }
  }
  return !std::ferror(out) && file.Commit();
}

LearnSummary SummariseLearn(const VeTable& original, const VeTable& correction, const VeTable& newTable,
                            std::size_t most) {
  LearnSummary summary;
  for (int row = 1; row <= kVeRows; ++row) {
    for (int column = 1; column <= kVeColumns; ++column) {
      ++(correction.At(row, column) != 0 ? summary.learned : summary.wantingSamples);
      const int before = original.At(row, column), after = newTable.At(row, column);
      if (before != after) summary.largest.push_back({{row, column}, before, after, ChangePercent(before, after)});
    }
  }
  std::stable_sort(summary.largest.begin(), summary.largest.end(), [](const auto& a, const auto& b) {
    return std::abs(a.newValue - a.original) > std::abs(b.newValue - b.original);
  });
  if (summary.largest.size() > most) summary.largest.resize(most);
  return summary;
}

}  // namespace vantor
