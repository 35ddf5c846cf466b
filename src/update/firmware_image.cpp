#include "update/firmware_image.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cal/stdio_file.h"
#include "update/path_line.h"

namespace vantor {
namespace {

constexpr std::size_t kPageSize = 128;
constexpr char kStandInMarker[] = "STAND-IN";
constexpr std::size_t kMarkerLength = sizeof kStandInMarker - 1;

}  // namespace

std::string DefaultFirmwarePath(const std::string& programDirectory) {
  if (programDirectory.empty()) return kFirmwareFileName;
  return (std::filesystem::path(programDirectory) / kFirmwareFileName).string();
}

FirmwareSource ChooseFirmware(const std::string& besideProgram, bool simulatedModule) {
  std::error_code error;
  const bool besideExists = std::filesystem::exists(besideProgram, error);
  if (simulatedModule && !besideExists && !error) return {"", true};
  return {besideProgram, simulatedModule};
}

const char* FirmwareStatusText(FirmwareStatus status) {
  switch (status) {
    case FirmwareStatus::Ok: return "";
    case FirmwareStatus::Missing: return "Firmware Image Missing";
    case FirmwareStatus::Unreadable: return "Firmware Image Read Failure";
    case FirmwareStatus::WrongSize: return "Firmware Image Not 24576 Bytes";
    case FirmwareStatus::StandIn: return "Stand-In Firmware Image Refused: Not For A Real ECM";
  }
  return "";
}

FirmwareStatus LoadFirmwareImage(const std::string& path, FirmwareImage* image) {
  StdioFile file(path, "rb");
  if (!file) return FirmwareStatus::Missing;
  const std::size_t got = file.Read(image->data(), image->size());
  const bool longer = std::fgetc(file.Get()) != EOF;
  if (std::ferror(file.Get())) return FirmwareStatus::Unreadable;
  return got == image->size() && !longer ? FirmwareStatus::Ok : FirmwareStatus::WrongSize;
}

FirmwareStatus LoadRunFirmware(const FirmwareSource& source, FirmwareImage* image) {
  FirmwareStatus status = FirmwareStatus::Ok;
  if (source.path.empty())
    *image = StandInFirmwareImage();
  else
    status = LoadFirmwareImage(source.path, image);
  if (status == FirmwareStatus::Ok && !source.simulatedModule && IsStandInImage(*image))
    status = FirmwareStatus::StandIn;
  return status;
}

bool IsStandInImage(const FirmwareImage& image) {
  for (std::size_t page = 0; page < image.size(); page += kPageSize)
    if (std::memcmp(&image[page], kStandInMarker, kMarkerLength) == 0) return true;
  return false;
}

FirmwareImage StandInFirmwareImage() {
  FirmwareImage image;
  for (std::size_t i = 0; i < image.size(); ++i)
    image[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8) * 13 + 0x5A);
  for (std::size_t page = 0; page < image.size(); page += kPageSize)
    std::memcpy(&image[page], kStandInMarker, kMarkerLength);
  return image;
}

std::string FirmwareImageLine(const FirmwareSource& source, std::size_t width) {
  if (source.path.empty()) return "Firmware Image: the built-in stand-in (simulated ECM only)";
  return PathLine("Firmware Image: ", source.path, width);
}

std::vector<std::string> FirmwareAdvice(FirmwareStatus status, const std::string& besideProgram, std::size_t width) {
  switch (status) {
    case FirmwareStatus::Missing:
      return {"The image is supplied with the ECM's firmware. It goes here:",
              PathLine("  ", besideProgram, width)};
    case FirmwareStatus::StandIn:
      return {"This image is the stand-in, not the ECM's code: it only serves the simulated",
              "ECM. Put the image supplied with the ECM's firmware in its place."};
    default:
      return {};
  }
}

}  // namespace vantor
