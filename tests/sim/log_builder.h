#pragma once
// Builds data log byte streams for tests: frames with their check value,
// time stamps, marks and arbitrary text, in any order.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "link/crc16.h"

namespace vantor::simtest {

// Tags the files a test process saves: the tests run as parallel processes.
inline const std::string kProcessTag = std::to_string(std::random_device{}());

constexpr const char* kStampDate = "07/20/2013 - 16:47:09";

// 273 data bytes that differ from frame to frame.
inline std::vector<std::uint8_t> FrameData(int seed) {
  std::vector<std::uint8_t> data(273);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(seed * 31 + i * 7 + (i >> 3));
  return data;
}

// 0x55 0xAA, the data, the check value (spoiled when asked).
inline std::vector<std::uint8_t> Envelope(const std::vector<std::uint8_t>& data, bool badCheck = false) {
  std::vector<std::uint8_t> frame(data.size() + 2);
  frame[0] = 0x55;
  frame[1] = 0xAA;
  std::copy(data.begin(), data.end(), frame.begin() + 2);
  std::uint16_t check = Crc16Prefixed(0x55, 0xAA, data.data(), data.size());
  if (badCheck) check ^= 0x1234;
  frame.push_back(static_cast<std::uint8_t>(check >> 8));
  frame.push_back(static_cast<std::uint8_t>(check));
  return frame;
}

class LogBuilder {
 public:
  LogBuilder& Text(const std::string& text) {
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    return *this;
  }
  LogBuilder& Stamp(const std::string& date = kStampDate) { return Text("TIME: " + date); }
  LogBuilder& Mark(int number, const std::string& date = kStampDate) {
    char head[16];
    std::snprintf(head, sizeof head, "MARK%03d", number);
    return Text(head).Stamp(date);
  }
  LogBuilder& Bytes(const std::vector<std::uint8_t>& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  LogBuilder& Frame(int seed, bool badCheck = false) { return Bytes(Envelope(FrameData(seed), badCheck)); }
  // A frame with `insert` placed after `at` bytes of its envelope.
  LogBuilder& FrameWith(int seed, std::size_t at, const std::string& insert) {
    auto frame = Envelope(FrameData(seed));
    frame.insert(frame.begin() + static_cast<std::ptrdiff_t>(at), insert.begin(), insert.end());
    return Bytes(frame);
  }
  const std::vector<std::uint8_t>& Data() const { return bytes_; }

  // Saved in the temporary folder under a name of this process's own.
  std::string Save(const std::string& name) const {
    const auto path = (std::filesystem::temp_directory_path() / (kProcessTag + "_" + name)).string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes_.data()), static_cast<std::streamsize>(bytes_.size()));
    return path;
  }

 private:
  std::vector<std::uint8_t> bytes_;
};

}  // namespace vantor::simtest
