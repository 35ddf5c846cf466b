#include <gtest/gtest.h>

#include <cstring>

#include "sim/default_calibration.h"
#include "sim/sim_ecm.h"
#include "support/temp_dir.h"

namespace vantor::sim {
namespace {

unsigned Sum(const std::vector<std::uint8_t>& image, std::size_t from, std::size_t to) {
  unsigned sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += image[i];
  return sum & 0xFFFF;
}

TEST(DefaultCalibration, IsALayout10BinWithAConsistentChecksum) {
  for (int bank = 0; bank < kBankCount; ++bank) {
    const auto image = DefaultBankImage(bank);
    ASSERT_EQ(image.size(), kBankSize);
    EXPECT_EQ(std::memcmp(&image[2], "ORV9", 4), 0);
    EXPECT_EQ(image[9], 1);
    const unsigned checksum = image[6] << 8 | image[7];
    EXPECT_EQ(Sum(image, 8, 0x2000), checksum);
  }
}

TEST(SimBanks, BankFileMustBeAWholeBank) {
  SimEcm ecm;
  const test::TempDir dir;
  const std::string good = dir.File("good.bin"), small = dir.File("short.bin");
  test::WriteText(good, std::string(kBankSize, 'x'));
  test::WriteText(small, std::string(100, 'x'));
  std::string error;
  EXPECT_TRUE(ecm.LoadBankFile(4, good, &error));
  EXPECT_EQ(ecm.Bank(4)[12345], 'x');
  const std::pair<int, std::string> refused[] = {{4, small}, {8, good}, {1, dir.File("no_such_file.bin")}};
  for (const auto& [bank, path] : refused) {
    error.clear();
    EXPECT_FALSE(ecm.LoadBankFile(bank, path, &error)) << path;
    EXPECT_FALSE(error.empty()) << path;
  }
}

}  // namespace
}  // namespace vantor::sim
