#include "velearn/learn_grid.h"

#include <algorithm>

namespace vantor {
namespace {

constexpr std::uint32_t kMinWeightedHits = 15;

struct KernelSpan {
  int firstRow, lastRow, rowOffset;  // bin = centre - rowOffset + row
  bool large;
};

KernelSpan RowSpan(int rpm) {
  if (rpm < 2000) return {2, 6, 4, false};
  if (rpm < 3600) return {0, 8, 4, false};
  return {0, 16, 8, true};
}

constexpr int kHighRpmFirstBin = 224;  // 6000 RPM

int CentreRpmBin(int rpm) {
  if (rpm < 6000) return (rpm - 400) / 25;
  return static_cast<int>((rpm - 6000) / 31.25) + kHighRpmFirstBin;
}

}  // namespace

void LearnGrid::Clear() {
  for (auto& row : value) row.fill(0);
  for (auto& row : hits) row.fill(0);
}

void LearnGrid::Add(int rpmBin, int mapBin, std::uint32_t sample) {
  std::uint32_t& cell = value[rpmBin][mapBin];
  cell = cell == 0 ? sample : (cell + sample) / 2;
  ++hits[rpmBin][mapBin];
}

int MapBin(int wholeKpa) { return std::clamp(std::min(wholeKpa, 100) - 20, 0, kMapBins - 1); }

double BinRpm(int rpmBin) {
  return rpmBin < kHighRpmFirstBin ? 400.0 + 25.0 * rpmBin : 6000.0 + (rpmBin - kHighRpmFirstBin) * 31.25;
}

int RpmBin(int rpmByte, int highRpmByte) {
  const int bin = rpmByte < 240 ? rpmByte - 16 : highRpmByte + 32;
  return std::clamp(bin, 0, kRpmBins - 1);
}

int SmallKernelWeight(int row, int column) {
  return 1 + std::min({row, 8 - row, column, 8 - column});
}

int LargeKernelWeight(int row, int column) {
  return 1 + std::min({std::min(row, 16 - row) / 2, column, 8 - column});
}

std::uint32_t NeighbourhoodAverage(const LearnGrid& grid, int rpm, int mapKpa) {
  const KernelSpan rows = RowSpan(rpm);
  const int firstColumn = mapKpa < 70 ? 2 : 0;
  const int lastColumn = mapKpa < 70 ? 6 : 8;
  const int centre = CentreRpmBin(rpm);
  std::uint32_t weights = 0, values = 0, weightedHits = 0;
  for (int row = rows.firstRow; row <= rows.lastRow; ++row) {
    const int rpmBin = centre - rows.rowOffset + row;
    if (rpmBin < 0 || rpmBin >= kRpmBins) continue;
    for (int column = firstColumn; column <= lastColumn; ++column) {
      const int mapBin = mapKpa - 24 + column;
      if (mapBin < 0 || mapBin >= kMapBins) continue;
      const std::uint32_t value = grid.value[rpmBin][mapBin];
      if (value == 0) continue;
      const std::uint32_t w = static_cast<std::uint32_t>(rows.large ? LargeKernelWeight(row, column)
                                                                    : SmallKernelWeight(row, column));
      weights += w;
      values += value * w;
      weightedHits += grid.hits[rpmBin][mapBin] * w;
    }
  }
  if (weightedHits < kMinWeightedHits || weights == 0) return 0;
  return values / weights;
}

}  // namespace vantor
