#include "update/firmware_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cal/stdio_file.h"

namespace vantor {

std::string DefaultFirmwarePath(const std::string& programDirectory) {
  if (programDirectory.empty()) return kFirmwareFileName;
  return (std::filesystem::path(programDirectory) / kFirmwareFileName).string();
}

std::string ChooseFirmwarePath(const std::string& besideProgram, const std::string& standIn, bool simulatedModule) {
  if (simulatedModule && !standIn.empty() && !std::filesystem::exists(besideProgram)) return standIn;
  return besideProgram;
}

bool LoadFirmwareImage(const std::string& path, FirmwareImage* image, std::string* error) {
  StdioFile file(path, "rb");
  if (!file) {
    *error = "Firmware Image Missing: " + path;
    return false;
  }
  const std::size_t got = file.Read(image->data(), image->size());
  const bool longer = std::fgetc(file.Get()) != EOF;
  if (got != image->size() || longer) {
    *error = "Firmware Image Not 24576 Bytes: " + path;
    return false;
  }
  return true;
}

FirmwareImage StandInFirmwareImage() {
  FirmwareImage image;
  for (std::size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8) * 13 + 0x5A);
  // Every page starts with a marker, so the stand-in can never pass for real code.
  for (std::size_t page = 0; page < image.size(); page += 128) std::memcpy(&image[page], "STAND-IN", 8);
  return image;
}

}  // namespace vantor
