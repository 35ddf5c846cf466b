#include "link/crc16.h"

#include <array>

namespace vantor {
namespace {

constexpr std::array<std::uint16_t, 256> MakeTable() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i << 8;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x8000) ? ((crc << 1) ^ 0x1021) : (crc << 1);
    table[i] = static_cast<std::uint16_t>(crc & 0xFFFF);
  }
  return table;
}

constexpr auto kTable = MakeTable();

}  // namespace

std::uint16_t Crc16Update(std::uint16_t crc, const std::uint8_t* block, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    crc = static_cast<std::uint16_t>((crc << 8) ^ kTable[((crc >> 8) ^ block[i]) & 0xFF]);
  return crc;
}

std::uint16_t Crc16(const std::uint8_t* block, std::size_t n) { return Crc16Update(0, block, n); }

std::uint16_t Crc16Prefixed(std::uint8_t p1, std::uint8_t p2, const std::uint8_t* block, std::size_t n) {
  const std::uint8_t prefix[2] = {p1, p2};
  return Crc16Update(Crc16Update(0, prefix, 2), block, n);
}

}  // namespace vantor
