#pragma once
// Builds data log bytes for tests: recordings with their header, frames with
// a correct or a wrong check value, and time stamp and mark records placed
// between frames, inside a frame or between its sync bytes.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "link/crc16.h"
#include "live/live_frame.h"

namespace vantor::testlog {

using FrameData = std::array<std::uint8_t, 273>;

inline void SetWord(FrameData& data, int offset, unsigned value) {
  data[offset] = static_cast<std::uint8_t>(value >> 8);
  data[offset + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

// Data that differs from frame to frame; byte 0 is seed * 31, so a small
// seed can be told back from a frame read.
inline FrameData SeededFrame(int seed) {
  FrameData data{};
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(seed * 31 + i * 7 + (i >> 3));
  return data;
}

// date: the 22-character stamp text, a blank and "MM/DD/YYYY - hh:mm:ss".
inline std::string StampRecord(const std::string& date) { return "TIME:" + date; }

inline std::string MarkRecord(int number, const std::string& date) {
  char text[16];
  std::snprintf(text, sizeof text, "MARK%03d", number);
  return text + StampRecord(date);
}

class LogBuilder {
 public:
  // A recording's header: the time line and a few settings lines.
  LogBuilder& Recording(const std::string& date) {
    bytes_ += StampRecord(date);
    bytes_ += "PORT COM2\r\nTEMPERSCALE 1\r\nKPHORMPH 0\r\n";
    return *this;
  }
  LogBuilder& Raw(const std::string& text) {
    bytes_ += text;
    return *this;
  }
  // A frame; record (if any) is inserted before envelope byte insertAt
  // (1 = between the sync bytes, 2 + n = before data byte n).
  LogBuilder& Frame(const FrameData& data, const std::string& record = "", int insertAt = 0, bool damaged = false) {
    std::string envelope = Envelope(data, damaged);
    if (!record.empty()) envelope.insert(static_cast<std::size_t>(insertAt), record);
    bytes_ += envelope;
    return *this;
  }
  LogBuilder& Damaged(const FrameData& data) { return Frame(data, "", 0, true); }

  const std::string& Bytes() const { return bytes_; }
  void Save(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
  }

  static std::string Envelope(const FrameData& data, bool damaged = false) {
    std::uint16_t crc = Crc16Prefixed(0x55, 0xAA, data.data(), data.size());
    if (damaged) crc ^= 0x0101;
    std::string envelope("\x55\xAA", 2);
    envelope.append(reinterpret_cast<const char*>(data.data()), data.size());
    envelope += static_cast<char>(crc >> 8);
    envelope += static_cast<char>(crc & 0xFF);
    return envelope;
  }

 private:
  std::string bytes_;
};

// The envelope as bytes, for feeding a line.
inline std::vector<std::uint8_t> FrameEnvelope(const std::vector<std::uint8_t>& data) {
  FrameData frame{};
  std::copy_n(data.begin(), frame.size(), frame.begin());
  const std::string envelope = LogBuilder::Envelope(frame);
  return {envelope.begin(), envelope.end()};
}

// Frame data with a marker value in byte 2.
inline std::vector<std::uint8_t> MarkedFrameData(std::uint8_t marker) {
  std::vector<std::uint8_t> data(std::tuple_size_v<FrameData>, 0);
  data[frame::kFlags2] = marker;
  return data;
}

}  // namespace vantor::testlog
