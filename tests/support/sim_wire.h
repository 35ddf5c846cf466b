#pragma once
// Test helpers for talking to the simulated ECM with raw bytes, as an
// independent client would: packet builders, a stream scanner for frames and
// replies.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/crc16.h"

namespace vantor::simtest {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// Polls pred until it holds or the bound passes.
inline bool WaitFor(const std::function<bool()>& pred,
                    std::chrono::milliseconds bound = std::chrono::milliseconds(10000)) {
  const auto end = Clock::now() + bound;
  while (Clock::now() < end) {
    if (pred()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return pred();
}

inline void AppendCheck(Bytes& bytes) {
  const std::uint16_t check = Crc16(bytes.data(), bytes.size());
  bytes.push_back(static_cast<std::uint8_t>(check >> 8));
  bytes.push_back(static_cast<std::uint8_t>(check));
}

inline Bytes MsPacket(std::uint8_t command, std::uint8_t arg) {
  Bytes packet{'R', command, arg};
  AppendCheck(packet);
  return packet;
}

// An "S" packet: 129 data bytes, filled with blanks, then the given leading bytes.
inline Bytes SlPacket(std::uint8_t command, const Bytes& leading = {}) {
  Bytes packet{'S', command};
  Bytes data(129, 0x20);
  for (std::size_t i = 0; i < leading.size() && i < data.size(); ++i) data[i] = leading[i];
  packet.insert(packet.end(), data.begin(), data.end());
  AppendCheck(packet);
  return packet;
}

inline Bytes InfoPacket(std::uint8_t bank, std::uint8_t echoByte = 1) { return SlPacket(0, {0x20, bank, 1, echoByte, 1, 25}); }
inline Bytes PgmPagePacket(std::uint8_t page, const Bytes& data128) {
  Bytes leading{page};
  leading.insert(leading.end(), data128.begin(), data128.end());
  return SlPacket(7, leading);
}

struct Reply {
  std::uint8_t type = 0;
  Bytes payload;
};

inline std::size_t ReplyPayloadLength(std::uint8_t type) {
  switch (type) {
    case 'A': case 'N': return 12;
    case 'V': return 128;
    case 'P': return 129;
    case 'C': return 8193;
    case 'B': return 32769;
    default: return 0;
  }
}

// Collects the ECM's bytes and takes CRC-valid frames and replies out of them.
class StreamScanner {
 public:
  void Add(const std::uint8_t* bytes, std::size_t n) { buffer_.insert(buffer_.end(), bytes, bytes + n); }

  // The next CRC-valid frame's 273 data bytes; bytes before it are dropped.
  std::optional<Bytes> NextFrame() {
    for (std::size_t i = 0; i + 277 <= buffer_.size(); ++i) {
      if (buffer_[i] != 0x55 || buffer_[i + 1] != 0xAA) continue;
      const std::uint16_t check = Crc16(&buffer_[i], 275);
      if (check != (buffer_[i + 275] << 8 | buffer_[i + 276])) continue;
      Bytes data(buffer_.begin() + static_cast<std::ptrdiff_t>(i + 2), buffer_.begin() + static_cast<std::ptrdiff_t>(i + 275));
      buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(i + 277));
      return data;
    }
    return std::nullopt;
  }

  // The next CRC-valid reply; bytes before it are dropped.
  std::optional<Reply> NextReply() {
    for (std::size_t i = 0; i + 2 <= buffer_.size(); ++i) {
      if (buffer_[i] != 'S') continue;
      const std::size_t length = ReplyPayloadLength(buffer_[i + 1]);
      if (length == 0 || i + 4 + length > buffer_.size()) continue;
      const std::uint16_t check = Crc16(&buffer_[i], length + 2);
      if (check != (buffer_[i + 2 + length] << 8 | buffer_[i + 3 + length])) continue;
      Reply reply{buffer_[i + 1], Bytes(buffer_.begin() + static_cast<std::ptrdiff_t>(i + 2),
                                        buffer_.begin() + static_cast<std::ptrdiff_t>(i + 2 + length))};
      buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(i + 4 + length));
      return reply;
    }
    return std::nullopt;
  }

  std::size_t Size() const { return buffer_.size(); }

 private:
  Bytes buffer_;
};


}  // namespace vantor::simtest
