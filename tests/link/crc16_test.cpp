#include "link/crc16.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(Crc16, KnownVectorAndPiecewiseForms) {
  EXPECT_EQ(Crc16(reinterpret_cast<const std::uint8_t*>("123456789"), 9), 0x31C3);
  const std::uint8_t whole[] = {0x53, 'A', 1, 2, 3, 4, 5};
  EXPECT_EQ(Crc16Prefixed(0x53, 'A', whole + 2, 5), Crc16(whole, 7));
  EXPECT_EQ(Crc16Update(Crc16(whole, 3), whole + 3, 4), Crc16(whole, 7));
}

}  // namespace
}  // namespace vantor
