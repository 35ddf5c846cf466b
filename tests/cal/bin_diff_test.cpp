// What DiffImages finds between two calibration images.

#include "cal/bin_diff.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/temp_dir.h"

namespace vantor {
namespace {

using Range = std::tuple<std::size_t, std::size_t, std::string>;  // offset, length, region

std::vector<Range> Ranges(const BinDiff& diff) {
  std::vector<Range> ranges;
  for (const ByteRange& r : diff.otherBytes) ranges.emplace_back(r.offset, r.length, r.region);
  return ranges;
}

TEST(BinDiff, CellsHeaderFieldsAndOtherRangesEachInTheirPlace) {
  const CalImage base = MakeImageFromCalibration(test::SampleCalibration(3).data());
  const struct {
    const char* name;
    void (*change)(CalImage&);
    std::vector<std::pair<int, int>> cells;  // row, column
    std::vector<Range> ranges;
    bool generation, checksum;
  } cases[] = {
      {"same", [](CalImage&) {}, {}, {}, false, false},
      {"one cell", [](CalImage& i) { i.SetVeCell(5, 3, static_cast<std::uint8_t>(i.VeCell(5, 3) + 9)); },
       {{5, 3}}, {}, false, false},
      {"a seam row, both copies", [](CalImage& i) { i.SetVeCell(17, 14, static_cast<std::uint8_t>(~i.VeCell(17, 14))); },
       {{17, 14}}, {}, false, false},
      {"the unread copy alone", [](CalImage& i) { i[VeWriteOffsetsFor(17, 1).first] ^= 0x01; }, {},
       {{VeWriteOffsetsFor(17, 1).first, 1, "VE block 1"}}, false, false},
      {"generation and checksum",
       [](CalImage& i) {
         i.SetGeneration(static_cast<std::uint16_t>(i.Generation() + 1));
         i.SetChecksum(static_cast<std::uint16_t>(i.Checksum() + 1));
       },
       {}, {}, true, true},
      {"runs split where the part changes",
       [](CalImage& i) {
         for (std::size_t at : {0x1000, 0x1FFE, 0x1FFF, 0x2000, 0x7E00, 0x7E01, 0x7E02}) i[at] ^= 0x80;
       },
       {},
       {{0x1000, 1, "calibration"}, {0x1FFE, 2, "calibration"}, {0x2000, 1, "filler"}, {0x7E00, 3, "balance area"}},
       false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CalImage changed = base;
    c.change(changed);
    const BinDiff diff = DiffImages(base, changed);
    std::vector<std::pair<int, int>> cells;
    for (const VeCellChange& cell : diff.veCells) {
      cells.emplace_back(cell.row, cell.column);
      EXPECT_EQ(cell.a, base.VeCell(cell.row, cell.column));
      EXPECT_EQ(cell.b, changed.VeCell(cell.row, cell.column));
    }
    EXPECT_EQ(cells, c.cells);
    EXPECT_EQ(Ranges(diff), c.ranges);
    EXPECT_EQ(diff.generationDiffers, c.generation);
    EXPECT_EQ(diff.checksumDiffers, c.checksum);
    EXPECT_EQ(diff.Same(), std::string(c.name) == "same");
  }
}

TEST(BinDiff, ACellsChangeIsInPercentOfItsFormerValue) {
  double percent = 0;
  ASSERT_TRUE(CellChangePercent({1, 1, 128, 136}, &percent));
  EXPECT_DOUBLE_EQ(percent, 6.25);
  EXPECT_FALSE(CellChangePercent({1, 1, 0, 5}, &percent));
}

}  // namespace
}  // namespace vantor
