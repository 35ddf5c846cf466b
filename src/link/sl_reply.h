#pragma once
// The ECM's replies during flash work: their types and the last one received.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vantor {

struct ReplyType {
  std::uint8_t type;
  std::uint32_t totalLength;    // 'S', type, payload and the two checksum bytes
  std::uint32_t payloadLength;
};

// 'A', 'N', 'V', 'P', 'C', 'B' in table order.
extern const std::array<ReplyType, 6> ReplyTypeTable;

constexpr std::size_t kReplyPayloadCapacity = 33793;

struct SlReply {
  std::uint8_t type = 0;
  std::uint8_t command = 0;
  std::uint8_t bank = 0;
  std::uint8_t page = 0;
  std::uint8_t infoEcho = 0;
  // Bytes beyond the last reply's length keep older contents.
  std::array<std::uint8_t, kReplyPayloadCapacity> payload{};
};

}  // namespace vantor
