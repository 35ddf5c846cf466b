#pragma once
// The new firmware's code for flash pages 64-255 of a bank: opaque bytes from
// outside, sent and compared verbatim. The program also carries a stand-in
// for the simulated module; it is marked so that it can never pass for real
// code, and a real module never receives it.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vantor {

constexpr std::size_t kFirmwareImageSize = 24576;
constexpr int kFirmwareFirstPage = 64;
constexpr int kFirmwarePages = 192;

using FirmwareImage = std::array<std::uint8_t, kFirmwareImageSize>;

constexpr const char* kFirmwareFileName = "ORV_KDM9_firmware.bin";

// The image file shipped beside the program (programDirectory may be empty: current directory).
std::string DefaultFirmwarePath(const std::string& programDirectory);

// Where a run takes its firmware code from.
struct FirmwareSource {
  std::string path;              // an image file; empty: the built-in stand-in
  bool simulatedModule = false;  // the run talks to the simulated module
};

// The image beside the program; for the simulated module, the built-in
// stand-in when nothing lies there.
FirmwareSource ChooseFirmware(const std::string& besideProgram, bool simulatedModule);

enum class FirmwareStatus { Ok, Missing, Unreadable, WrongSize, StandIn };

// The pane's words for a status: "Firmware Image Missing" and so on.
const char* FirmwareStatusText(FirmwareStatus status);

// Reads exactly 24,576 bytes from path.
FirmwareStatus LoadFirmwareImage(const std::string& path, FirmwareImage* image);

// The image a run uses: the file, or the built-in stand-in. A stand-in (built
// in or a file that carries its marker) is refused for anything but the
// simulated module.
FirmwareStatus LoadRunFirmware(const FirmwareSource& source, FirmwareImage* image);

// Whether any page of the image starts with the stand-in's marker "STAND-IN".
bool IsStandInImage(const FirmwareImage& image);

// The stand-in for the simulated ECM and the tests (not real firmware):
// byte i is (i * 7 + (i >> 8) * 13 + 0x5A) mod 256, page headers marked "STAND-IN".
FirmwareImage StandInFirmwareImage();

// "Firmware Image: " and the path (or the built-in stand-in), fitted to width.
std::string FirmwareImageLine(const FirmwareSource& source, std::size_t width);

// What the user can do about a refused image, in lines of at most width
// characters: where a missing image goes, why the stand-in is refused.
std::vector<std::string> FirmwareAdvice(FirmwareStatus status, const std::string& besideProgram, std::size_t width);

}  // namespace vantor
