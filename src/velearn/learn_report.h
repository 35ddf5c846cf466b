#pragma once
// The VE learn report: for every VE cell the frames seen near it while
// learning, how many became samples and why the others were passed by (one
// count per gate), the mean correction of its samples, and its original and
// new value; and a summary of the cells learned and the largest changes.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cal/ve_table.h"
#include "velearn/learn_gate.h"

namespace vantor {

struct LearnCellCounts {
  std::array<std::uint32_t, kLearnGateCount> byGate{};
  std::uint64_t sampleSum = 0;  // of the samples taken, in 1/128

  std::uint32_t Seen() const;
  std::uint32_t Accepted() const { return byGate[static_cast<int>(LearnGate::Sampled)]; }
  // The mean sample as a change in percent (128 = 0 %); false without samples.
  bool MeanCorrectionPercent(double* percent) const;
};

struct VeCell {
  int row;     // 1-35
  int column;  // 1-14
};

// The VE cell whose RPM and MAP labels lie nearest to a frame's learn bins.
VeCell NearestCell(int rpmBin, int mapBin);

class LearnReport final : public LearnObserver {
 public:
  void OnVerdict(LearnGate gate, int rpmBin, int mapBin, std::uint32_t sample) override;

  const LearnCellCounts& Cell(int row, int column) const { return cells_[row - 1][column - 1]; }
  // Frames by gate over the whole table.
  std::array<std::uint64_t, kLearnGateCount> Totals() const;

  // One line per cell after a heading: rpm, kpa, seen, accepted, the count of
  // every gate that passes frames by, mean_correction_pct, original, new.
  // Replaces path whole; false when it cannot be written.
  bool WriteCsv(const std::string& path, const VeTable& original, const VeTable& newTable) const;

 private:
  std::array<std::array<LearnCellCounts, kVeColumns>, kVeRows> cells_{};
};

struct LearnedCellChange {
  VeCell cell;
  int original, newValue;
  double percent;  // of the original
};

struct LearnSummary {
  int learned = 0;             // cells that took a correction
  int wantingSamples = 0;      // cells never corrected: too few samples near them
  std::vector<LearnedCellChange> largest;  // by size of change, most first
};

// correction: the learn's correction table (0 = never corrected).
LearnSummary SummariseLearn(const VeTable& original, const VeTable& correction, const VeTable& newTable,
                            std::size_t most);

}  // namespace vantor
