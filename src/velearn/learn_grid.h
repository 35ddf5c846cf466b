#pragma once
// LearnGrid: correction samples binned finely by RPM and MAP, and the
// weighted neighbourhood average that turns them into a VE cell's factor.

#include <array>
#include <cstdint>

namespace vantor {

constexpr int kRpmBins = 288;  // 400 RPM in 25 RPM steps up to 6000, then 31.25 RPM steps
constexpr int kMapBins = 81;   // 20..100 kPa

struct LearnGrid {
  // Running average of the samples in 1/128 (128 = no correction); 0 = empty.
  std::array<std::array<std::uint32_t, kMapBins>, kRpmBins> value{};
  std::array<std::array<std::uint32_t, kMapBins>, kRpmBins> hits{};

  void Clear();
  void Add(int rpmBin, int mapBin, std::uint32_t sample);
};

// Bin of a frame: MAP bin from the whole-kPa MAP (at most 100), RPM bin from
// the RPM byte (x 25 RPM) below 240, else from the high-RPM byte (x 31.25 RPM).
int MapBin(int wholeKpa);
int RpmBin(int rpmByte, int highRpmByte);
// The RPM a bin stands for: 25 RPM a bin from 400, 31.25 RPM a bin from 6000.
double BinRpm(int rpmBin);

// Weighted average around a VE cell's RPM and MAP labels; 0 when fewer than
// 15 weighted hits support it.
std::uint32_t NeighbourhoodAverage(const LearnGrid& grid, int rpm, int mapKpa);

// Kernel weights, exposed for tests.
int SmallKernelWeight(int row, int column);  // 9 x 9 pyramid, 1 at the edge, 5 in the centre
int LargeKernelWeight(int row, int column);  // 17 x 9

}  // namespace vantor
