#include "cal/cal_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "support/temp_dir.h"

namespace vantor {
namespace {

TEST(BalanceRule, EveryReachableDifferenceIsMetExactlyAndLargerOnesFillTheArea) {
  const auto area = BalanceBytes(0, 0x01FF);  // hi 1 + lo 255 carries into one more fill byte
  EXPECT_EQ(std::vector<int>(area.begin(), area.begin() + 4), (std::vector<int>{0xFF, 0xFF, 0x01, 0}));
  for (unsigned d = 0; d <= 0xFFFF; ++d) {
    const auto bytes = BalanceBytes(0x8000, static_cast<std::uint16_t>(0x8000 + d));
    unsigned sum = 0;
    for (auto b : bytes) sum += b;
    ASSERT_EQ(sum, std::min(d, 0xFF00u)) << d;
  }
}

TEST(MakeImage, FillerTailAndChecksumAgreeAndBalancingAgainChangesNothing) {
  const auto calibration = test::SampleCalibration(11);
  auto image = std::make_unique<CalImage>(MakeImageFromCalibration(calibration.data()));
  EXPECT_TRUE(std::equal(calibration.begin(), calibration.end(), image->Data()));
  for (std::size_t i = kFillerOffset; i < kTailOffset; ++i) ASSERT_EQ((*image)[i], 0xFF);
  EXPECT_EQ(image->Sum(kChecksumStart, kCalibrationSize - 1), image->Checksum());
  EXPECT_EQ(image->Sum(kFillerOffset, kCalImageSize - 1), 0);
  EXPECT_TRUE(std::equal(TailTemplate().begin() + 0x200, TailTemplate().end(), image->Data() + 0x7F00));
  const CalImage first = *image;
  image->Balance(image->Checksum());  // starts from a clean area
  EXPECT_EQ(*image, first);
}

// The generation's byte order is the VE file test's.
TEST(CalImageFields, SignatureAndLayoutBytes) {
  auto image = std::make_unique<CalImage>(MakeImageFromCalibration(test::SampleCalibration(1).data()));
  EXPECT_TRUE(image->HasSignature());
  image->SetLayoutVersion(kLayout11);
  EXPECT_EQ((*image)[9], 1);
  EXPECT_EQ((*image)[10], 1);
  (*image)[5] = '8';
  EXPECT_FALSE(image->HasSignature());
}

TEST(CalImageFields, TheVeTableReadsBackAsWritten) {
  VeTable table;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) table.At(r, c) = (r * 7 + c * 3) & 0xFF;
  CalImage image;
  image.WriteVeTable(table);
  VeTable back;
  image.ReadVeTable(&back);
  EXPECT_EQ(back.cells, table.cells);
}

// The three blocks and the seam rows kept in two places; the second copies
// once printed at 0x00EA / 0x01B9 would land on rows 16 and 30.
TEST(VeMapping, SeamRowsAreWrittenToBothCopiesAndReadFromTheLaterOneAndNoTwoCellsShareAByte) {
  EXPECT_EQ(VeReadOffset(1, 1), 0x000Cu);
  using Offsets = std::pair<std::size_t, std::size_t>;
  const auto seam = [](int r, int c) { return Offsets(VeWriteOffsetsFor(r, c).first, VeWriteOffsetsFor(r, c).second); };
  EXPECT_EQ(seam(17, 14), Offsets(0x00EC + 13, 0x00FD + 13));
  EXPECT_EQ(seam(31, 2), Offsets(0x01C2, 0x0E04));
  EXPECT_EQ(VeReadOffset(35, 14), 0x0E03u + 4 * 14 + 13);
  std::set<std::size_t> used;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) {
      const VeWriteOffsets at = VeWriteOffsetsFor(r, c);
      EXPECT_EQ(VeReadOffset(r, c), at.second ? at.second : at.first);
      ASSERT_TRUE(used.insert(at.first).second) << r << "," << c;
      ASSERT_TRUE(!at.second || used.insert(at.second).second) << r << "," << c;
    }
  EXPECT_EQ(used.size(), static_cast<std::size_t>(kVeRows * kVeColumns + 2 * kVeColumns));
}

}  // namespace
}  // namespace vantor
