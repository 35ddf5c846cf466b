#pragma once
// Moving a calibration to layout 1.1: the version bytes, and for a layout 1.0
// source the WasteGate feature bit and the new parameter block with defaults.

#include <chrono>
#include <cstdint>
#include <string>

#include "cal/cal_image.h"

namespace vantor {

enum class ConvertStatus { Ok, AlreadyCurrent, Error };

struct ConvertOutcome {
  ConvertStatus status = ConvertStatus::Error;
  std::string text;  // empty for Ok; "Calibration Already Current"; or the error
};

// The complete 1.1 image for the first 8,192 bytes of a calibration at any
// layout: converted, checksum recomputed over 0x0008-0x1FFF, filler, tail, balance.
CalImage MigratedImage(const std::uint8_t* calibration);

// Reads source, writes the converted image to target, replacing it whole
// (nothing is written for a source already at 1.1; a target that is the source
// itself is refused). pauseBeforeWrite is the settling wait before the new
// file is created.
ConvertOutcome ConvertCalibration(const std::string& source, const std::string& target,
                                  std::chrono::milliseconds pauseBeforeWrite = std::chrono::milliseconds(100));

}  // namespace vantor
