#include "sim/default_calibration.h"

#include <algorithm>
#include <cmath>

#include "cal/cal_image.h"

namespace vantor::sim {
namespace {

constexpr std::size_t kFeatureFlags = 0x0B8D;

}  // namespace

std::uint8_t DefaultVeCell(int rpm, int mapKpa, int bank) {
  const double torquePeak = std::exp(-std::pow((rpm - 4200.0) / 2600.0, 2.0));
  const double percent = 32.0 + 45.0 * (mapKpa - 20) / 80.0 + 18.0 * torquePeak + bank * 0.5;
  return static_cast<std::uint8_t>(std::clamp(percent * 2.56, 0.0, 255.0));
}

std::vector<std::uint8_t> DefaultBankImage(int bank) {
  CalImage calibration;
  std::uint32_t seed = 0x9E3779B9u ^ static_cast<std::uint32_t>(bank);
  for (std::size_t i = 0; i < kCalibrationSize; ++i) {
    seed = seed * 1664525u + 1013904223u;
    calibration[i] = static_cast<std::uint8_t>(seed >> 24);
  }
  calibration.SetGeneration(0);
  const char signature[] = "ORV9";
  std::copy(signature, signature + 4, calibration.Data() + 2);
  calibration.SetLayoutVersion(kLayout10);
  calibration[kFeatureFlags] &= static_cast<std::uint8_t>(~0x10);
  VeTable table;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) table.At(r, c) = DefaultVeCell(kVeRpmAxis[r - 1], kVeMapAxis[c - 1], bank);
  calibration.WriteVeTable(table);
  calibration.SetChecksum(calibration.Sum(kChecksumStart, kCalibrationSize - 1));
  const CalImage image = MakeImageFromCalibration(calibration.Data());
  return std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize);
}

}  // namespace vantor::sim
