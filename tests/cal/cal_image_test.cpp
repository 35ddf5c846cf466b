#include "cal/cal_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>

#include "cal/temp_dir.h"

namespace vantor {
namespace {

std::unique_ptr<CalImage> ImageOf(const std::vector<std::uint8_t>& calibration) {
  return std::make_unique<CalImage>(MakeImageFromCalibration(calibration.data()));
}

unsigned AreaSum(const std::array<std::uint8_t, kBalanceSize>& area) {
  unsigned sum = 0;
  for (auto b : area) sum += b;
  return sum;
}

TEST(TailTemplate, HasTheFixedLayoutWithA55CharacterNotice) {
  const auto& tail = TailTemplate();
  for (std::size_t i = 0; i < 0x100; ++i) ASSERT_EQ(tail[i], 0xFF) << i;
  for (std::size_t i = 0x100; i < 0x200; ++i) ASSERT_EQ(tail[i], 0x00) << i;
  EXPECT_EQ(std::string(tail.begin() + 0x210, tail.begin() + 0x220), " ORV_KDM-9 Flash");
  const std::string notice(tail.begin() + 0x270, tail.begin() + 0x2A7);
  EXPECT_TRUE(std::all_of(notice.begin(), notice.end(), [](char c) { return std::isprint(c) != 0; }));
  EXPECT_EQ(tail[0x2A7], 0xFF);
  EXPECT_EQ(tail[0x26F], 0xFF);
  for (std::size_t i = 0x2A7; i < kTailSize; ++i) ASSERT_EQ(tail[i], 0xFF);
}

TEST(Sum, IsInclusiveAndWrapsAt16Bits) {
  std::vector<std::uint8_t> bytes(600, 0xFF);
  EXPECT_EQ(Sum(bytes.data(), 0, 0), 0xFF);
  EXPECT_EQ(Sum(bytes.data(), 0, 599), static_cast<std::uint16_t>(600 * 255));
  EXPECT_EQ(Sum(bytes.data(), 10, 11), 510);
}

TEST(BalanceRule, ZeroDifferenceWritesNoFillBytes) {
  const auto area = BalanceBytes(0x1234, 0x1234);
  EXPECT_TRUE(std::all_of(area.begin(), area.end(), [](auto b) { return b == 0; }));
}

TEST(BalanceRule, HiPlusLoAbove255CarriesIntoOneMoreFillByte) {
  const auto area = BalanceBytes(0, 0x01FF);  // hi 1, lo 255
  EXPECT_EQ(area[0], 0xFF);
  EXPECT_EQ(area[1], 0xFF);
  EXPECT_EQ(area[2], 0x01);
  EXPECT_EQ(AreaSum(area), 0x01FFu);
}

TEST(BalanceRule, EveryReachableDifferenceIsMetExactly) {
  for (unsigned d = 0; d <= 0xFF00; ++d) {
    const auto area = BalanceBytes(0x8000, static_cast<std::uint16_t>(0x8000 + d));
    ASSERT_EQ(AreaSum(area), d) << d;
  }
}

TEST(BalanceRule, DifferenceAbove0xFF00FillsTheAreaAndNeverSpillsRegression) {
  for (unsigned d = 0xFF01; d <= 0xFFFF; ++d) {
    const auto area = BalanceBytes(0, static_cast<std::uint16_t>(d));
    ASSERT_EQ(AreaSum(area), 0xFF00u);
  }
  // In a whole image: the byte after the area stays the tail's own.
  auto calibration = test::SampleCalibration(3);
  auto image = ImageOf(calibration);
  std::fill_n(image->Data() + kBalanceOffset, kBalanceSize, 0x00);
  const std::uint16_t bare = image->ImageSum();
  image->Balance(static_cast<std::uint16_t>(bare + 0xFF80));
  EXPECT_EQ(image->ImageSum(), static_cast<std::uint16_t>(bare + 0xFF00));
  EXPECT_TRUE(std::equal(TailTemplate().begin() + 0x200, TailTemplate().end(), image->Data() + 0x7F00));
}

TEST(MakeImage, FillerTailAndChecksumAgree) {
  const auto calibration = test::SampleCalibration(11);
  const auto image = ImageOf(calibration);
  EXPECT_TRUE(std::equal(calibration.begin(), calibration.end(), image->Data()));
  for (std::size_t i = kFillerOffset; i < kTailOffset; ++i) ASSERT_EQ((*image)[i], 0xFF);
  EXPECT_EQ(image->ImageSum(), image->Checksum());
  EXPECT_EQ(image->Sum(kChecksumStart, kCalibrationSize - 1), image->Checksum());
  EXPECT_EQ(image->Sum(kFillerOffset, kCalImageSize - 1), 0);
  EXPECT_TRUE(std::equal(TailTemplate().begin() + 0x200, TailTemplate().end(), image->Data() + 0x7F00));
}

TEST(MakeImage, BalanceStartsFromACleanAreaWhenRepeated) {
  auto image = ImageOf(test::SampleCalibration(5));
  const CalImage first = *image;
  image->Balance(image->Checksum());
  EXPECT_EQ(*image, first);
}

TEST(CalImageFields, GenerationSignatureAndLayout) {
  auto image = ImageOf(test::SampleCalibration(1, 1, 0));
  EXPECT_TRUE(image->HasSignature());
  EXPECT_EQ(image->Generation(), 7);
  EXPECT_EQ(image->LayoutVersion(), kLayout10);
  image->SetLayoutVersion(kLayout11);
  EXPECT_EQ((*image)[9], 1);
  EXPECT_EQ((*image)[10], 1);
  image->SetGeneration(0xABCD);
  EXPECT_EQ((*image)[0], 0xAB);
  (*image)[5] = '8';
  EXPECT_FALSE(image->HasSignature());
}

TEST(VeMapping, SeamRowsAreWrittenToBothCopiesAtTheBlockPositions) {
  EXPECT_EQ(VeWriteOffsetsFor(17, 1).first, 0x00ECu);
  EXPECT_EQ(VeWriteOffsetsFor(17, 14).first, 0x00ECu + 13);
  EXPECT_EQ(VeWriteOffsetsFor(17, 1).second, 0x00FDu);
  EXPECT_EQ(VeWriteOffsetsFor(31, 1).first, 0x01C1u);
  EXPECT_EQ(VeWriteOffsetsFor(31, 1).second, 0x0E03u);
  EXPECT_EQ(VeReadOffset(17, 1), 0x00FDu);
  EXPECT_EQ(VeReadOffset(31, 2), 0x0E04u);
  EXPECT_EQ(VeReadOffset(35, 14), 0x0E03u + 4 * 14 + 13);
}

TEST(VeMapping, NoTwoCellsShareABytePrintedSeamOffsetsRegression) {
  // The second copies at 0x00EA / 0x01B9 would land on rows 16 and 30.
  std::set<std::size_t> used;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) {
      const VeWriteOffsets at = VeWriteOffsetsFor(r, c);
      ASSERT_TRUE(used.insert(at.first).second) << r << "," << c;
      if (at.second) {
        ASSERT_TRUE(used.insert(at.second).second) << r << "," << c;
      }
    }
  EXPECT_EQ(used.size(), static_cast<std::size_t>(kVeRows * kVeColumns + 2 * kVeColumns));
}

TEST(VeMapping, WriteThenReadGivesTheTableBackAndKeepsOtherBytes) {
  auto image = ImageOf(test::SampleCalibration(9));
  const CalImage before = *image;
  VeTable table;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) table.At(r, c) = (r * 16 + c) & 0xFF;
  image->WriteVeTable(table);
  VeTable back;
  image->ReadVeTable(&back);
  EXPECT_EQ(back.cells, table.cells);
  std::set<std::size_t> cellBytes;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) {
      cellBytes.insert(VeWriteOffsetsFor(r, c).first);
      cellBytes.insert(VeWriteOffsetsFor(r, c).second);
    }
  for (std::size_t i = 1; i < kCalImageSize; ++i)
    if (!cellBytes.count(i)) {
      ASSERT_EQ((*image)[i], before[i]) << i;
    }
}

TEST(VeMapping, ReaderTakesTheLaterCopyOfEachSeamRow) {
  auto image = ImageOf(test::SampleCalibration(2));
  (*image)[0x00EC] = 10;   // row 17 in block 1
  (*image)[0x00FD] = 20;   // row 17 in block 2
  (*image)[0x01C1] = 30;   // row 31 in block 2
  (*image)[0x0E03] = 40;   // row 31 in block 3
  EXPECT_EQ(image->VeCell(17, 1), 20);
  EXPECT_EQ(image->VeCell(31, 1), 40);
}

TEST(VeMapping, CellsKeepTheirLow8Bits) {
  auto image = ImageOf(test::SampleCalibration(4));
  VeTable table;
  table.At(5, 5) = 0x1FE;
  table.At(6, 6) = -1;
  image->WriteVeTable(table);
  EXPECT_EQ(image->VeCell(5, 5), 0xFE);
  EXPECT_EQ(image->VeCell(6, 6), 0xFF);
}

}  // namespace
}  // namespace vantor
