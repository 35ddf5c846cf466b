#include "sim/default_calibration.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "sim/flash_memory.h"

namespace vantor::sim {
namespace {

constexpr std::size_t kCalibrationSize = 0x2000;
constexpr std::size_t kTail = 0x7D00;
constexpr std::size_t kBalanceArea = 0x7E00;
constexpr std::size_t kFeatureFlags = 0x0B8D;
constexpr int kVeRows = 35;
constexpr int kVeColumns = 14;
constexpr int kRpmAxis[kVeRows] = {400,  500,  600,  700,  800,  900,  1000, 1100, 1200,
                                   1300, 1400, 1500, 1600, 1700, 1800, 1900, 2000, 2200,
                                   2400, 2600, 2800, 3000, 3200, 3400, 3600, 4000, 4400,
                                   4800, 5200, 5600, 6000, 6500, 7000, 7500, 8000};
constexpr int kMapAxis[kVeColumns] = {20, 25, 30, 35, 40, 45, 50, 55, 60, 65, 70, 80, 90, 100};

// Where row r (1..35) of the VE table lives; seam rows are stored twice.
std::vector<std::size_t> VeRowOffsets(int r) {
  if (r <= 16) return {0x000C + 14u * static_cast<std::size_t>(r - 1)};
  if (r == 17) return {0x00EA, 0x00FD};
  if (r <= 30) return {0x00FD + 14u * static_cast<std::size_t>(r - 17)};
  if (r == 31) return {0x01B9, 0x0E03};
  return {0x0E03 + 14u * static_cast<std::size_t>(r - 31)};
}

std::uint8_t VeCell(int rpm, int mapKpa, int bank) {
  const double torquePeak = std::exp(-std::pow((rpm - 4200.0) / 2600.0, 2.0));
  const double percent = 32.0 + 45.0 * (mapKpa - 20) / 80.0 + 18.0 * torquePeak + bank * 0.5;
  return static_cast<std::uint8_t>(std::clamp(percent * 2.56, 0.0, 255.0));
}

void WriteVeTable(std::vector<std::uint8_t>& image, int bank) {
  for (int r = 1; r <= kVeRows; ++r)
    for (std::size_t offset : VeRowOffsets(r))
      for (int c = 0; c < kVeColumns; ++c) image[offset + static_cast<std::size_t>(c)] = VeCell(kRpmAxis[r - 1], kMapAxis[c], bank);
}

void WriteTail(std::vector<std::uint8_t>& image) {
  std::fill(image.begin() + kCalibrationSize, image.end(), 0xFF);
  std::fill_n(image.begin() + kBalanceArea, 256, 0x00);
  const char flashText[] = " ORV_KDM-9 Flash";
  std::memcpy(&image[0x7F10], flashText, 16);
  const char notice[] = "Simulated ECM calibration image - for testing use only.";
  std::memcpy(&image[0x7F70], notice, 55);
}

unsigned Sum(const std::vector<std::uint8_t>& image, std::size_t from, std::size_t to) {
  unsigned sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += image[i];
  return sum & 0xFFFF;
}

// Fix-up bytes in the balance area make the whole image add up to the
// checksum of its calibration part.
void Balance(std::vector<std::uint8_t>& image) {
  const unsigned target = Sum(image, 8, kCalibrationSize);
  image[6] = static_cast<std::uint8_t>(target >> 8);
  image[7] = static_cast<std::uint8_t>(target);
  const unsigned d = (target - Sum(image, 8, kBankSize)) & 0xFFFF;
  const unsigned hi = d / 256, lo = d % 256;
  const unsigned count = hi + lo > 255 ? hi + 1 : hi;
  const unsigned last = hi + lo > 255 ? (hi + lo + 1) % 256 : hi + lo;
  std::fill_n(image.begin() + kBalanceArea, count, 0xFF);
  image[kBalanceArea + count] = static_cast<std::uint8_t>(last);
}

}  // namespace

std::vector<std::uint8_t> DefaultBankImage(int bank) {
  std::vector<std::uint8_t> image(kBankSize);
  std::uint32_t seed = 0x9E3779B9u ^ static_cast<std::uint32_t>(bank);
  for (std::size_t i = 0; i < kCalibrationSize; ++i) {
    seed = seed * 1664525u + 1013904223u;
    image[i] = static_cast<std::uint8_t>(seed >> 24);
  }
  image[0] = 0;
  image[1] = 0;
  std::memcpy(&image[2], "ORV9", 4);
  image[9] = 1;
  image[10] = 0;
  image[kFeatureFlags] &= static_cast<std::uint8_t>(~0x10);
  WriteVeTable(image, bank);
  WriteTail(image);
  Balance(image);
  return image;
}

}  // namespace vantor::sim
