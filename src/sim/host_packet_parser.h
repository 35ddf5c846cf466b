#pragma once
// Cuts the host's byte stream into "R" and "S" packets as the ECM sees them.

#include <cstdint>
#include <optional>
#include <vector>

namespace vantor::sim {

struct HostPacket {
  std::uint8_t form = 0;       // 'R' or 'S'
  std::uint8_t command = 0;
  std::vector<std::uint8_t> payload;  // 1 argument byte or 129 data bytes
  bool checkOk = false;
};

class HostPacketParser {
 public:
  static constexpr std::size_t kMsLength = 5;
  static constexpr std::size_t kSlLength = 133;
  // A packet whose bytes stop arriving for this long is abandoned.
  static constexpr std::int64_t kGapMicros = 50000;

  // Takes one byte received at nowMicros; returns every packet it completes.
  std::vector<HostPacket> Feed(std::uint8_t byte, std::int64_t nowMicros);

 private:
  std::vector<HostPacket> Scan();

  std::vector<std::uint8_t> pending_;
  std::int64_t lastByteAt_ = 0;
};

}  // namespace vantor::sim
