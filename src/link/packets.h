#pragma once
// Host-to-ECM packets ("R" and "S" forms) and the reply receiver.

#include <cstddef>
#include <cstdint>

namespace vantor {

class EcmLink;

// "R" form: 'R', command, n (0 or 1) argument bytes, CRC high, low.
// -1 when n > 1 or the transmit slot refuses the packet.
int SendMsPacket(EcmLink& link, std::uint8_t command, const std::uint8_t* args, std::size_t n);

// "S" form: 'S', command 0..7, n (0..129) data bytes, CRC high, low.
int SendSlPacket(EcmLink& link, std::uint8_t command, const std::uint8_t* data, std::size_t n);

// Reads one reply from the receive ring into link.Reply(); 0 on success,
// -1 after its failure message went to the link's message sink.
int ReceiveSlReply(EcmLink& link);

}  // namespace vantor
