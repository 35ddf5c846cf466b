#include <gtest/gtest.h>

#include <cstring>

#include "sim/default_calibration.h"
#include "sim/flash_memory.h"
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
    EXPECT_EQ(image[10], 0);
    EXPECT_EQ(image[0x0B8D] & 0x10, 0);
    const unsigned checksum = image[6] << 8 | image[7];
    EXPECT_EQ(Sum(image, 8, kBankSize), checksum);
    EXPECT_EQ(Sum(image, 8, 0x2000), checksum);
    EXPECT_EQ(std::memcmp(&image[0x7F10], " ORV_KDM-9 Flash", 16), 0);
  }
}

TEST(FlashMemory, EraseSetsOneSectorAndProgrammingOnlyClearsBits) {
  FlashMemory flash;
  std::vector<std::uint8_t> zeros(kBankSize, 0x00);
  ASSERT_TRUE(flash.LoadBank(3, zeros.data(), zeros.size()));
  ASSERT_TRUE(flash.EraseSector(3 * 8 + 2));
  const std::uint8_t* bank = flash.Bank(3);
  EXPECT_EQ(bank[2 * kSectorSize - 1], 0x00);
  EXPECT_EQ(bank[2 * kSectorSize], 0xFF);
  EXPECT_EQ(bank[3 * kSectorSize - 1], 0xFF);
  EXPECT_EQ(bank[3 * kSectorSize], 0x00);
  std::uint8_t page[kPageSize];
  std::memset(page, 0xA5, sizeof page);
  ASSERT_TRUE(flash.ProgramPage(3, 64, page));  // first page of sector 2
  EXPECT_EQ(bank[64 * kPageSize], 0xA5);
  std::memset(page, 0x5A, sizeof page);
  ASSERT_TRUE(flash.ProgramPage(3, 64, page));
  EXPECT_EQ(bank[64 * kPageSize], 0x00);
  EXPECT_FALSE(flash.EraseSector(64));
  EXPECT_FALSE(flash.ProgramPage(8, 0, page));
  EXPECT_FALSE(flash.ProgramPage(0, 256, page));
  EXPECT_TRUE(flash.ProgramPage(0, 0, page));  // the first page is a page too
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
