#pragma once
// CRC-16/XMODEM (poly 0x1021, init 0, no reflection, no final XOR), table driven.

#include <cstddef>
#include <cstdint>

namespace vantor {

std::uint16_t Crc16(const std::uint8_t* block, std::size_t n);
// The same CRC over p1, p2 followed by n bytes of block.
std::uint16_t Crc16Prefixed(std::uint8_t p1, std::uint8_t p2, const std::uint8_t* block, std::size_t n);
// Continue a CRC over more bytes.
std::uint16_t Crc16Update(std::uint16_t crc, const std::uint8_t* block, std::size_t n);

}  // namespace vantor
