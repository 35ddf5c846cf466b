#include "cal/ve_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "cal/cal_image.h"
#include "support/temp_dir.h"
#ifndef _WIN32
#include "support/file_size_limit.h"
#endif

namespace vantor {
namespace {

std::vector<std::uint8_t> FullBin(unsigned seed) {
  const auto calibration = test::SampleCalibration(seed);
  const CalImage image = MakeImageFromCalibration(calibration.data());
  return std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize);
}

VeTable Pattern(int salt) {
  VeTable table;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) table.At(r, c) = (r * 7 + c * 3 + salt) & 0xFF;
  return table;
}

class VeFileTest : public ::testing::Test {
 protected:
  // The written file, checked for its size, generation and balanced checksum.
  std::vector<std::uint8_t> Written(int generation) const {
    const auto written = test::ReadAll(dir.File("new.bin"));
    EXPECT_EQ(written.size(), kCalImageSize);
    EXPECT_EQ(written.size() > 1 ? written[0] << 8 | written[1] : -1, generation);
    EXPECT_EQ(test::SumBytes(written, 8, kCalImageSize - 1), test::StoredChecksum(written));
    return written;
  }
  test::TempDir dir;
};

TEST_F(VeFileTest, SignatureOutcomesAndTheirTexts) {
  test::WriteAll(dir.File("a.bin"), FullBin(1));
  EXPECT_EQ(CheckSignature(dir.File("a.bin")).status, SignatureStatus::Bin);
  EXPECT_EQ(CheckSignature(dir.File("missing.bin")).status, SignatureStatus::CannotOpen);
  test::WriteAll(dir.File("short.bin"), {0, 1, 'O', 'R', 'V'});
  EXPECT_EQ(CheckSignature(dir.File("short.bin")).status, SignatureStatus::NotABin);

  test::WriteAll(dir.File("b.bin"), {0, 1, 'O', 'R', 'V', '8', 0, 0});
  const SignatureCheck main = CheckSignature(dir.File("b.bin"), BinReader::MainProgram);
  EXPECT_EQ(main.status, SignatureStatus::NotABin);
  EXPECT_EQ(main.text, "Not an ORV KDM-9 Flash BIN!");
  EXPECT_EQ(CheckSignature(dir.File("b.bin"), BinReader::UpdateUtility).text, "Not an ORV Flash BIN");
}

TEST_F(VeFileTest, ReadMatchesTheImageMappingWithLaterSeamCopies) {
  auto bytes = FullBin(2);
  bytes[0x00EC] = 1;  // earlier copy of row 17, must lose
  bytes[0x01C1] = 2;  // earlier copy of row 31, must lose
  bytes[0x01CF] = 3;  // slot 15, superseded by block 3
  test::WriteAll(dir.File("v.bin"), bytes);
  VeTable table;
  ASSERT_TRUE(ReadVeTable(dir.File("v.bin"), &table));
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) ASSERT_EQ(table.At(r, c), bytes[VeReadOffset(r, c)]) << r << "," << c;
  EXPECT_FALSE(ReadVeTable(dir.File("none.bin"), &table));
}

TEST_F(VeFileTest, WriteCopiesTheSourceThenUpdatesCellsGenerationAndChecksum) {
  const auto source = FullBin(4);
  test::WriteAll(dir.File("src.bin"), source);
  VeTable learned = Pattern(1);
  learned.At(5, 5) = 0x1FE;  // only the low 8 bits are kept
  learned.At(6, 6) = -1;
  ASSERT_TRUE(WriteVeTable(dir.File("src.bin"), dir.File("new.bin"), 7, learned));
  const auto written = Written(8);
  // Every byte but the cells, the generation and the checksum is the source's.
  CalImage expected;
  std::copy(source.begin(), source.end(), expected.Data());
  expected.WriteVeTable(learned);
  expected.SetGeneration(8);
  expected.SetChecksum(expected.ImageSum());
  EXPECT_TRUE(std::equal(written.begin(), written.end(), expected.Data()));
}

TEST_F(VeFileTest, ShortSourceIsPaddedWith0xFFAndASecondWriteUpdatesTheNewFileInPlaceAndTheGenerationWraps) {
  auto source = FullBin(5);
  source.resize(9000);
  test::WriteAll(dir.File("src.bin"), source);
  ASSERT_TRUE(WriteVeTable(dir.File("src.bin"), dir.File("new.bin"), 1, Pattern(1)));
  auto edited = Written(2);
  for (std::size_t i = 9000; i < edited.size(); ++i) ASSERT_EQ(edited[i], 0xFF) << i;
  edited[0x3000] = 0x12;  // a byte outside the cells that only the new file has
  test::WriteAll(dir.File("new.bin"), edited);
  std::filesystem::remove(dir.File("src.bin"));
  ASSERT_TRUE(WriteVeTable(dir.File("src.bin"), dir.File("new.bin"), 65535, Pattern(9)));
  EXPECT_EQ(Written(0)[0x3000], 0x12);
}

TEST_F(VeFileTest, MissingOrUnreadableSourceLeavesNoStumpForALaterWriteRegression) {
  std::filesystem::create_directory(dir.File("a_directory.bin"));  // opens, but every read fails
  for (const char* source : {"none.bin", "a_directory.bin", "a_directory.bin"}) {
    EXPECT_FALSE(WriteVeTable(dir.File(source), dir.File("new.bin"), 0, Pattern(1))) << source;
    EXPECT_FALSE(std::filesystem::exists(dir.File("new.bin"))) << source;
  }
}

TEST_F(VeFileTest, TheSourceUnderAnyOtherSpellingIsNeverTheNewFile) {
  const auto source = FullBin(3);
  test::WriteAll(dir.File("src.bin"), source);
  std::filesystem::create_directory(dir.File("sub"));
  for (const std::string spelling : {"src.bin", "sub/../src.bin"}) {
    EXPECT_FALSE(WriteVeTable(dir.File("src.bin"), dir.File(spelling), 7, Pattern(1))) << spelling;
    EXPECT_EQ(test::ReadAll(dir.File("src.bin")), source) << spelling;
  }
}

#ifndef _WIN32  // the size limit is a POSIX resource limit
// A failed write removes only its own working file: a stranger named like the
// old fixed working name (here an empty directory) stays.
TEST_F(VeFileTest, RewriteTheDiskCutsShortKeepsTheEarlierNewFileAndTouchesNothingElse) {
  test::WriteAll(dir.File("src.bin"), FullBin(5));
  ASSERT_TRUE(WriteVeTable(dir.File("src.bin"), dir.File("new.bin"), 7, Pattern(1)));
  const auto earlier = test::ReadAll(dir.File("new.bin"));
  std::filesystem::create_directory(dir.File("new.bin.part"));
  {
    test::FileSizeLimit full(kCalImageSize / 2);
    EXPECT_FALSE(WriteVeTable(dir.File("src.bin"), dir.File("new.bin"), 8, Pattern(2)));
  }
  EXPECT_EQ(test::ReadAll(dir.File("new.bin")), earlier);
  EXPECT_EQ(test::Names(dir.Path()), (std::set<std::string>{"src.bin", "new.bin", "new.bin.part"}));
}
#endif

}  // namespace
}  // namespace vantor
