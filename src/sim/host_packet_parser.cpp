#include "sim/host_packet_parser.h"

#include "link/crc16.h"

namespace vantor::sim {
namespace {

std::size_t PacketLength(std::uint8_t first) {
  if (first == 'R') return HostPacketParser::kMsLength;
  if (first == 'S') return HostPacketParser::kSlLength;
  return 0;
}

HostPacket Decode(const std::uint8_t* bytes, std::size_t length) {
  HostPacket packet;
  packet.form = bytes[0];
  packet.command = bytes[1];
  packet.payload.assign(bytes + 2, bytes + length - 2);
  const unsigned check = static_cast<unsigned>(bytes[length - 2]) << 8 | bytes[length - 1];
  packet.checkOk = check == Crc16(bytes, length - 2);
  return packet;
}

}  // namespace

std::vector<HostPacket> HostPacketParser::Feed(std::uint8_t byte, std::int64_t nowMicros) {
  if (!pending_.empty() && nowMicros - lastByteAt_ > kGapMicros) pending_.clear();
  lastByteAt_ = nowMicros;
  pending_.push_back(byte);
  return Scan();
}

std::vector<HostPacket> HostPacketParser::Scan() {
  std::vector<HostPacket> packets;
  for (;;) {
    while (!pending_.empty() && PacketLength(pending_[0]) == 0) pending_.erase(pending_.begin());
    if (pending_.empty()) break;
    const std::size_t length = PacketLength(pending_[0]);
    if (pending_.size() < length) break;
    HostPacket packet = Decode(pending_.data(), length);
    // A damaged short packet may have swallowed the start of the next one:
    // look again one byte further. A long packet is taken as a whole.
    if (!packet.checkOk && packet.form == 'R') {
      pending_.erase(pending_.begin());
      continue;
    }
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(length));
    packets.push_back(std::move(packet));
  }
  return packets;
}

}  // namespace vantor::sim
