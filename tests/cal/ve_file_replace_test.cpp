// A new VE BIN rewrite that the disk cuts short leaves the earlier file whole.
// The size limit is a POSIX resource limit.
#ifndef _WIN32
#include <gtest/gtest.h>

#include <filesystem>

#include "cal/cal_image.h"
#include "cal/temp_dir.h"
#include "cal/ve_file.h"
#include "platform/file_size_limit.h"

namespace vantor {
namespace {

TEST(VeFileReplace, FailedRewriteKeepsTheEarlierNewFile) {
  test::TempDir dir;
  const auto calibration = test::SampleCalibration(5);
  const CalImage image = MakeImageFromCalibration(calibration.data());
  test::WriteAll(dir.File("a.bin"), std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize));
  VeTable learned;
  learned.At(3, 4) = 99;
  ASSERT_TRUE(WriteVeTable(dir.File("a.bin"), dir.File("a_new.bin"), 7, learned));
  const auto earlier = test::ReadAll(dir.File("a_new.bin"));

  learned.At(3, 4) = 42;
  {
    test::FileSizeLimit full(kCalImageSize / 2);
    EXPECT_FALSE(WriteVeTable(dir.File("a.bin"), dir.File("a_new.bin"), 8, learned));
  }
  EXPECT_EQ(test::ReadAll(dir.File("a_new.bin")), earlier);
  EXPECT_FALSE(std::filesystem::exists(dir.File("a_new.bin.part")));
}

}  // namespace
}  // namespace vantor

#endif  // _WIN32
