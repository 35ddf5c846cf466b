#pragma once
// Frames and calibrations of the VE learn tests: a steady closed-loop cruise
// and a source BIN whose VE cells all hold one value.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "cal/cal_image.h"
#include "support/temp_dir.h"
#include "live/live_frame.h"

namespace vantor::test {

using Frame = std::array<std::uint8_t, 273>;

// A steady closed-loop cruise frame at 2400 RPM, 60 kPa, 90 C coolant.
inline Frame CruiseFrame(std::uint8_t blm = 140, std::uint8_t integrator = 128) {
  Frame f{};
  f[frame::kCoolantTemp] = 174;   // 90.5 C
  f[frame::kLoadMap] = 128;       // 60 kPa
  f[frame::kTps] = 20;            // 8 %
  f[frame::kRpmCoarse28] = 96;    // 2400 RPM
  f[frame::kFlags14] = 0x82;      // closed loop, block learn on
  f[frame::kBlm] = blm;
  f[frame::kInt] = integrator;
  f[frame::kCommandedAfr] = 147;
  return f;
}

constexpr int kCruiseRow = 19;     // 2400 RPM
constexpr int kCruiseColumn = 9;   // 60 kPa

// A BIN of generation 12, layout 1.0, every VE cell set to cell.
inline void WriteUniformBin(const std::string& path, std::uint8_t cell) {
  CalImage image;
  image.SetGeneration(12);
  const char* signature = "ORV9";
  for (int i = 0; i < 4; ++i) image[2 + i] = static_cast<std::uint8_t>(signature[i]);
  image.SetLayoutVersion(kLayout10);
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) image.SetVeCell(r, c, cell);
  WriteAll(path, std::vector<std::uint8_t>(image.Data(), image.Data() + kCalImageSize));
}

}  // namespace vantor::test
