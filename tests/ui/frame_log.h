#pragma once
// Writes a data log of n frames whose bytes the test fills in, after a
// leading text, for feeding displays through the frame processing loop.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "link/crc16.h"
#include "live/frame_reader.h"
#include "sim/log_builder.h"

namespace vantor::ui::testing {

template <typename Fill>
std::filesystem::path WriteFrameLog(const std::string& name, int frames, Fill fill, const std::string& lead = {}) {
  // Named for this process: the tests run as parallel processes.
  const std::filesystem::path path = std::filesystem::temp_directory_path() / (simtest::kProcessTag + "_" + name);
  std::ofstream out(path, std::ios::binary);
  out << lead;
  for (int i = 0; i < frames; ++i) {
    std::uint8_t data[kFrameDataSize] = {};
    fill(i, data);
    const std::uint16_t check = Crc16Prefixed(0x55, 0xAA, data, kFrameDataSize);
    out.put(0x55).put(static_cast<char>(0xAA));
    out.write(reinterpret_cast<const char*>(data), kFrameDataSize);
    out.put(static_cast<char>(check >> 8)).put(static_cast<char>(check & 0xFF));
  }
  return path;
}

}  // namespace vantor::ui::testing
