#include "link/crc16.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vantor {
namespace {

TEST(Crc16, KnownVectors) {
  const char* abc = "abc";
  EXPECT_EQ(Crc16(reinterpret_cast<const std::uint8_t*>(abc), 3), 0x9DD6);
  const char* check = "123456789";
  EXPECT_EQ(Crc16(reinterpret_cast<const std::uint8_t*>(check), std::strlen(check)), 0x31C3);
  EXPECT_EQ(Crc16(nullptr, 0), 0x0000);
}

TEST(Crc16, StreamStopAndStartPacketsCarryTheirChecksums) {
  const std::uint8_t stop[] = {0x52, 0x58, 0x00};
  EXPECT_EQ(Crc16(stop, 3), 0xB7B8);
  const std::uint8_t start[] = {0x52, 0x58, 0x66};
  EXPECT_EQ(Crc16(start, 3), 0xBBD8);
}

TEST(Crc16, PrefixedAndUpdateAgreeWithOneBlock) {
  const std::uint8_t whole[] = {0x53, 'A', 1, 2, 3, 4, 5};
  EXPECT_EQ(Crc16Prefixed(0x53, 'A', whole + 2, 5), Crc16(whole, 7));
  EXPECT_EQ(Crc16Update(Crc16(whole, 3), whole + 3, 4), Crc16(whole, 7));
}

}  // namespace
}  // namespace vantor
