#pragma once
// What changed between two calibration images: the VE cells that differ (by
// the cell a reader sees), the header fields, and every other run of
// differing bytes by offset, each within one named part of the image.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "cal/cal_image.h"

namespace vantor {

struct VeCellChange {
  int row;     // 1-35
  int column;  // 1-14
  std::uint8_t a, b;
};

struct ByteRange {
  std::size_t offset;
  std::size_t length;
  const char* region;  // "balance area", "calibration", ...
};

struct BinDiff {
  std::vector<VeCellChange> veCells;   // row by row
  std::vector<ByteRange> otherBytes;   // by offset; without the VE cells and header fields
  bool generationDiffers = false;
  bool checksumDiffers = false;
  bool layoutDiffers = false;
  bool Same() const {
    return veCells.empty() && otherBytes.empty() && !generationDiffers && !checksumDiffers && !layoutDiffers;
  }
};

BinDiff DiffImages(const CalImage& a, const CalImage& b);

// The named part of the image an offset lies in.
const char* RegionOf(std::size_t offset);

// The VE cell's change in percent of its value in a; false when a is 0.
bool CellChangePercent(const VeCellChange& change, double* percent);

}  // namespace vantor
