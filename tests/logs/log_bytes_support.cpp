#include "logs/log_bytes_support.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "link/crc16.h"
#include "live/frame_reader.h"
#include "live/live_frame.h"

namespace vantor::testing {

std::vector<std::uint8_t> FrameEnvelope(const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> bytes(data.size() + 4);
  bytes[0] = 0x55;
  bytes[1] = 0xAA;
  std::copy(data.begin(), data.end(), bytes.begin() + 2);
  const std::uint16_t crc = Crc16Prefixed(0x55, 0xAA, data.data(), data.size());
  bytes[data.size() + 2] = static_cast<std::uint8_t>(crc >> 8);
  bytes[data.size() + 3] = static_cast<std::uint8_t>(crc & 0xFF);
  return bytes;
}

std::vector<std::uint8_t> MarkedFrameData(std::uint8_t marker, unsigned runSeconds) {
  std::vector<std::uint8_t> data(kFrameDataSize, 0);
  data[frame::kFlags2] = marker;
  data[frame::kRunTime] = static_cast<std::uint8_t>(runSeconds >> 8);
  data[frame::kRunTime + 1] = static_cast<std::uint8_t>(runSeconds & 0xFF);
  return data;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string FreshTempDir(const std::string& tag) {
  std::random_device random;
  const auto dir = std::filesystem::temp_directory_path() /
                   ("vantor_" + tag + "_" + std::to_string(random()) + std::to_string(random()));
  std::filesystem::create_directories(dir);
  return dir.string();
}

}  // namespace vantor::testing
