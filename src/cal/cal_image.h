#pragma once
// CalImage: the 32,768-byte image of one calibration bank as a BIN file holds
// it, with its fields, the checksum, the balance rule and the fixed tail.
// Multi-byte fields are big-endian.

#include <array>
#include <cstddef>
#include <cstdint>

#include "cal/ve_table.h"

namespace vantor {

constexpr std::size_t kCalImageSize = 32768;
constexpr std::size_t kCalibrationSize = 8192;       // the part the ECM holds
constexpr std::size_t kCalPageSize = 128;
constexpr int kCalibrationPages = 64;
constexpr std::size_t kChecksumStart = 0x0008;        // first byte inside the checksum
constexpr std::size_t kFillerOffset = 0x2000;
constexpr std::size_t kFillerSize = 0x7D00 - 0x2000;  // 23,808 bytes of 0xFF
constexpr std::size_t kTailOffset = 0x7D00;
constexpr std::size_t kTailSize = 768;
constexpr std::size_t kBalanceOffset = 0x7E00;
constexpr std::size_t kBalanceSize = 256;
constexpr std::size_t kBalanceFromEnd = kCalImageSize - kBalanceOffset;  // 512

constexpr std::uint16_t kLayout10 = 0x0100;
constexpr std::uint16_t kLayout11 = 0x0101;

// The bytes of 0x7D00-0x7FFF with the balance area cleared.
const std::array<std::uint8_t, kTailSize>& TailTemplate();

// 16-bit sum of data[from..to] (both inclusive), modulo 65,536.
std::uint16_t Sum(const std::uint8_t* data, std::size_t from, std::size_t to);

// The 256 balance bytes that make a block whose sum is currentSum (with the
// area all zero) add up to target instead. A difference the area cannot hold
// (above 256 x 255) gives all 0xFF, the nearest reachable sum.
std::array<std::uint8_t, kBalanceSize> BalanceBytes(std::uint16_t currentSum, std::uint16_t target);

// Where a VE cell (row 1-35, column 1-14) is read from, and the one or two
// places it is written to (the 2000 and 6000 RPM rows are stored twice).
std::size_t VeReadOffset(int row, int column);
struct VeWriteOffsets {
  std::size_t first;
  std::size_t second;  // 0 when the row is stored once
};
VeWriteOffsets VeWriteOffsetsFor(int row, int column);

class CalImage {
 public:
  CalImage() { bytes_.fill(0xFF); }

  std::uint8_t* Data() { return bytes_.data(); }
  const std::uint8_t* Data() const { return bytes_.data(); }
  std::uint8_t& operator[](std::size_t offset) { return bytes_[offset]; }
  std::uint8_t operator[](std::size_t offset) const { return bytes_[offset]; }
  friend bool operator==(const CalImage&, const CalImage&) = default;

  std::uint16_t Generation() const { return Word(0); }
  void SetGeneration(std::uint16_t value) { SetWord(0, value); }
  bool HasSignature() const;
  std::uint16_t Checksum() const { return Word(6); }
  void SetChecksum(std::uint16_t value) { SetWord(6, value); }
  // Major byte times 256 plus minor byte: 0x0100 for 1.0, 0x0101 for 1.1.
  std::uint16_t LayoutVersion() const { return Word(9); }
  void SetLayoutVersion(std::uint16_t value) { SetWord(9, value); }

  std::uint8_t VeCell(int row, int column) const { return bytes_[VeReadOffset(row, column)]; }
  void SetVeCell(int row, int column, std::uint8_t value);
  void ReadVeTable(VeTable* table) const;
  void WriteVeTable(const VeTable& table);  // low 8 bits of every cell

  // Sum of bytes from..to inclusive.
  std::uint16_t Sum(std::size_t from, std::size_t to) const { return vantor::Sum(Data(), from, to); }
  // The sum the checksum field stands for: bytes 0x0008-0x7FFF.
  std::uint16_t ImageSum() const { return Sum(kChecksumStart, kCalImageSize - 1); }
  // Clears the balance area and fills it so that ImageSum() equals target.
  void Balance(std::uint16_t target);

 private:
  std::uint16_t Word(std::size_t offset) const {
    return static_cast<std::uint16_t>(bytes_[offset] << 8 | bytes_[offset + 1]);
  }
  void SetWord(std::size_t offset, std::uint16_t value) {
    bytes_[offset] = static_cast<std::uint8_t>(value >> 8);
    bytes_[offset + 1] = static_cast<std::uint8_t>(value);
  }

  std::array<std::uint8_t, kCalImageSize> bytes_;
};

// The first 8,192 bytes from calibration, then the 0xFF filler and the tail,
// balanced so that the image sums to the checksum at bytes 6-7.
CalImage MakeImageFromCalibration(const std::uint8_t* calibration);

}  // namespace vantor
