#include "cal/cal_image.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace vantor {
namespace {

constexpr std::size_t kVeBlock1 = 0x000C;   // rows 1-17
constexpr std::size_t kVeBlock2 = 0x00FD;   // rows 17-32 (slot 15 superseded)
constexpr std::size_t kVeBlock3 = 0x0E03;   // rows 31-35
constexpr int kSeamRowLow = 17;             // 2000 RPM: block 1 row 16 and block 2 slot 0
constexpr int kSeamRowHigh = 31;            // 6000 RPM: block 2 slot 14 and block 3 row 0

constexpr std::string_view kTailBanner = " ORV_KDM-9 Flash";
constexpr std::string_view kTailNotice = "Vantor tools calibration image built from ECM bank data";
static_assert(kTailBanner.size() == 16);
static_assert(kTailNotice.size() == 55);

std::size_t CellOffset(std::size_t block, int rowInBlock, int column) {
  return block + 14 * static_cast<std::size_t>(rowInBlock) + static_cast<std::size_t>(column - 1);
}

std::array<std::uint8_t, kTailSize> BuildTail() {
  std::array<std::uint8_t, kTailSize> tail;
  tail.fill(0xFF);
  std::fill_n(tail.begin() + 0x100, kBalanceSize, 0x00);
  std::copy(kTailBanner.begin(), kTailBanner.end(), tail.begin() + 0x210);
  std::copy(kTailNotice.begin(), kTailNotice.end(), tail.begin() + 0x270);
  return tail;
}

}  // namespace

const std::array<std::uint8_t, kTailSize>& TailTemplate() {
  static const std::array<std::uint8_t, kTailSize> tail = BuildTail();
  return tail;
}

std::uint16_t Sum(const std::uint8_t* data, std::size_t from, std::size_t to) {
  std::uint32_t sum = 0;
  for (std::size_t i = from; i <= to; ++i) sum += data[i];
  return static_cast<std::uint16_t>(sum);
}

std::array<std::uint8_t, kBalanceSize> BalanceBytes(std::uint16_t currentSum, std::uint16_t target) {
  std::array<std::uint8_t, kBalanceSize> area{};
  const unsigned difference = static_cast<std::uint16_t>(target - currentSum);
  // 256 bytes can add at most 256 x 255; a larger difference (only from a
  // stored checksum that disagrees with its bytes) must not spill past the area.
  if (difference > kBalanceSize * 0xFF) {
    area.fill(0xFF);
    return area;
  }
  const unsigned hi = difference / 256;
  const unsigned lo = difference % 256;
  unsigned count = hi;
  unsigned last = hi + lo;
  if (hi + lo > 255) {
    count = hi + 1;
    last = (hi + lo + 1) % 256;
  }
  std::fill_n(area.begin(), count, 0xFF);
  if (count < kBalanceSize) area[count] = static_cast<std::uint8_t>(last);
  return area;
}

std::size_t VeReadOffset(int row, int column) {
  if (row < kSeamRowLow) return CellOffset(kVeBlock1, row - 1, column);
  if (row < kSeamRowHigh) return CellOffset(kVeBlock2, row - kSeamRowLow, column);
  return CellOffset(kVeBlock3, row - kSeamRowHigh, column);
}

VeWriteOffsets VeWriteOffsetsFor(int row, int column) {
  if (row == kSeamRowLow) return {CellOffset(kVeBlock1, 16, column), CellOffset(kVeBlock2, 0, column)};
  if (row == kSeamRowHigh) return {CellOffset(kVeBlock2, 14, column), CellOffset(kVeBlock3, 0, column)};
  return {VeReadOffset(row, column), 0};
}

bool CalImage::HasSignature() const { return std::memcmp(&bytes_[2], "ORV9", 4) == 0; }

void CalImage::SetVeCell(int row, int column, std::uint8_t value) {
  const VeWriteOffsets at = VeWriteOffsetsFor(row, column);
  bytes_[at.first] = value;
  if (at.second != 0) bytes_[at.second] = value;
}

void CalImage::ReadVeTable(VeTable* table) const {
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) table->At(r, c) = VeCell(r, c);
}

void CalImage::WriteVeTable(const VeTable& table) {
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) SetVeCell(r, c, static_cast<std::uint8_t>(table.At(r, c)));
}

void CalImage::Balance(std::uint16_t target) {
  std::fill_n(bytes_.begin() + kBalanceOffset, kBalanceSize, 0x00);
  const auto area = BalanceBytes(ImageSum(), target);
  std::copy(area.begin(), area.end(), bytes_.begin() + kBalanceOffset);
}

CalImage MakeImageFromCalibration(const std::uint8_t* calibration) {
  CalImage image;  // starts all 0xFF: the filler
  std::memcpy(image.Data(), calibration, kCalibrationSize);
  const auto& tail = TailTemplate();
  std::copy(tail.begin(), tail.end(), image.Data() + kTailOffset);
  image.Balance(image.Checksum());
  return image;
}

}  // namespace vantor
