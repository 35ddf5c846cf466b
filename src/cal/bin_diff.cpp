#include "cal/bin_diff.h"

#include <array>

namespace vantor {
namespace {

struct Region {
  std::size_t first, last;  // inclusive
  const char* name;
};

// Most specific first: the first region holding an offset names it.
constexpr Region kRegions[] = {
    {0x0000, 0x0001, "learn generation"},
    {0x0002, 0x0005, "signature"},
    {0x0006, 0x0007, "checksum"},
    {0x0009, 0x000A, "layout version"},
    {0x000C, 0x00F9, "VE block 1"},
    {0x00FD, 0x01DC, "VE block 2"},
    {0x0B8D, 0x0B8D, "feature flags"},
    {0x0DC0, 0x0DD8, "layout 1.1 parameters"},
    {0x0E03, 0x0E48, "VE block 3"},
    {0x0000, kCalibrationSize - 1, "calibration"},
    {kFillerOffset, kTailOffset - 1, "filler"},
    {kBalanceOffset, kBalanceOffset + kBalanceSize - 1, "balance area"},
    {kTailOffset, kCalImageSize - 1, "tail"},
};

// Bytes a diff reports elsewhere: the header fields and the changed VE cells' copies.
std::array<bool, kCalImageSize> ExplainedBytes(const BinDiff& diff) {
  std::array<bool, kCalImageSize> explained{};
  for (std::size_t offset : {0, 1, 6, 7, 9, 10}) explained[offset] = true;
  for (const VeCellChange& cell : diff.veCells) {
    explained[VeReadOffset(cell.row, cell.column)] = true;
    const VeWriteOffsets copies = VeWriteOffsetsFor(cell.row, cell.column);
    explained[copies.first] = true;
    if (copies.second != 0) explained[copies.second] = true;
  }
  return explained;
}

}  // namespace

const char* RegionOf(std::size_t offset) {
  for (const Region& region : kRegions)
    if (offset >= region.first && offset <= region.last) return region.name;
  return "image";
}

bool CellChangePercent(const VeCellChange& change, double* percent) {
  if (change.a == 0) return false;
  *percent = (static_cast<double>(change.b) - change.a) * 100.0 / change.a;
  return true;
}

BinDiff DiffImages(const CalImage& a, const CalImage& b) {
  BinDiff diff;
  diff.generationDiffers = a.Generation() != b.Generation();
  diff.checksumDiffers = a.Checksum() != b.Checksum();
  diff.layoutDiffers = a.LayoutVersion() != b.LayoutVersion();
  for (int row = 1; row <= kVeRows; ++row)
    for (int column = 1; column <= kVeColumns; ++column)
      if (a.VeCell(row, column) != b.VeCell(row, column))
        diff.veCells.push_back({row, column, a.VeCell(row, column), b.VeCell(row, column)});
  const auto explained = ExplainedBytes(diff);
  for (std::size_t offset = 0; offset < kCalImageSize; ++offset) {
    if (explained[offset] || a[offset] == b[offset]) continue;
    const char* region = RegionOf(offset);
    ByteRange* last = diff.otherBytes.empty() ? nullptr : &diff.otherBytes.back();
    if (last && last->offset + last->length == offset && last->region == region)
      ++last->length;
    else
      diff.otherBytes.push_back({offset, 1, region});
  }
  return diff;
}

}  // namespace vantor
