#include "update/calibration_migration.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

#include "cal/stdio_file.h"
#include "platform/same_file.h"
#include "platform/working_file.h"

namespace vantor {
namespace {

constexpr std::size_t kFeatureFlags = 0x0B8D;
constexpr std::uint8_t kWasteGateFeature = 0x10;
constexpr std::size_t kParameterBlock = 0x0DC0;
constexpr std::array<std::uint8_t, 25> kParameterDefaults = {
    0x86, 0x75, 0x65, 0x80, 0x80, 0x80, 0x80, 0x7C, 0x78, 0x72, 0x4E, 0x40, 0x19,
    0x19, 0xC0, 0x06, 0x1E, 0x80, 0x00, 0x00, 0x20, 0x11, 0x01, 0x80, 0x40};

}  // namespace

CalImage MigratedImage(const std::uint8_t* calibration) {
  std::array<std::uint8_t, kCalibrationSize> bytes;
  std::memcpy(bytes.data(), calibration, bytes.size());
  const std::uint16_t version = static_cast<std::uint16_t>(bytes[9] << 8 | bytes[10]);
  bytes[9] = 1;
  bytes[10] = 1;
  if (version == kLayout10) {
    bytes[kFeatureFlags] |= kWasteGateFeature;
    std::copy(kParameterDefaults.begin(), kParameterDefaults.end(), bytes.begin() + kParameterBlock);
  }
  const std::uint16_t checksum = Sum(bytes.data(), kChecksumStart, kCalibrationSize - 1);
  bytes[6] = static_cast<std::uint8_t>(checksum >> 8);
  bytes[7] = static_cast<std::uint8_t>(checksum);
  return MakeImageFromCalibration(bytes.data());
}

ConvertOutcome ConvertCalibration(const std::string& source, const std::string& target,
                                  std::chrono::milliseconds pauseBeforeWrite) {
  std::array<std::uint8_t, kCalibrationSize> calibration;
  {
    StdioFile file(source, "rb");
    if (!file) return {ConvertStatus::Error, "Calibration File Open Failed"};
    if (file.Read(calibration.data(), calibration.size()) != calibration.size())
      return {ConvertStatus::Error, "Calibration File Read Failure"};
  }
  if ((calibration[9] << 8 | calibration[10]) == kLayout11)
    return {ConvertStatus::AlreadyCurrent, "Calibration Already Current"};
  const auto image = std::make_unique<CalImage>(MigratedImage(calibration.data()));
  if (pauseBeforeWrite.count() > 0) std::this_thread::sleep_for(pauseBeforeWrite);
  // Written whole under a working name and renamed over the target: a run cut
  // mid-write never leaves half a calibration under the target's name.
  WorkingFile file;
  if (IsSameFile(source, target) || !file.Create(target))
    return {ConvertStatus::Error, "New Calibration File Open Failed"};
  if (std::fwrite(image->Data(), 1, kCalImageSize, file.Get()) != kCalImageSize || !file.Commit())
    return {ConvertStatus::Error, "New Calibration File Write Failure"};
  return {ConvertStatus::Ok, ""};
}

}  // namespace vantor
