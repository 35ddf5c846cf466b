#pragma once
// The new firmware's code for flash pages 64-255 of a bank: opaque bytes from
// outside, sent and compared verbatim.

#include <array>
#include <cstdint>
#include <string>

namespace vantor {

constexpr std::size_t kFirmwareImageSize = 24576;
constexpr int kFirmwareFirstPage = 64;
constexpr int kFirmwarePages = 192;

using FirmwareImage = std::array<std::uint8_t, kFirmwareImageSize>;

constexpr const char* kFirmwareFileName = "ORV_KDM9_firmware.bin";

// The image file shipped beside the program (programDirectory may be empty: current directory).
std::string DefaultFirmwarePath(const std::string& programDirectory);

// The image a run uses: the one beside the program; for the simulated module
// only, the labelled stand-in when nothing lies beside the program.
std::string ChooseFirmwarePath(const std::string& besideProgram, const std::string& standIn, bool simulatedModule);

// Loads the image; false with a reason ("Firmware Image ... ") when the file is
// missing, unreadable or not exactly 24,576 bytes.
bool LoadFirmwareImage(const std::string& path, FirmwareImage* image, std::string* error);

// The stand-in shipped for the simulated ECM and the tests (not real firmware):
// byte i is (i * 7 + (i >> 8) * 13 + 0x5A) mod 256, page headers marked "STAND-IN".
FirmwareImage StandInFirmwareImage();

}  // namespace vantor
