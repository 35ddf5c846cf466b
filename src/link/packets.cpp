#include "link/packets.h"

#include "link/crc16.h"
#include "link/ecm_link.h"

namespace vantor {
namespace {

constexpr std::uint8_t kMsLead = 0x52;  // 'R'
constexpr std::uint8_t kSlLead = 0x53;  // 'S'
constexpr std::size_t kMaxMsArgs = 1;
constexpr std::size_t kMaxSlData = 129;
constexpr std::uint8_t kMaxSlCommand = 7;
constexpr std::size_t kPacketOverhead = 4;  // lead, command, two checksum bytes

int SubmitFramed(EcmLink& link, std::uint8_t lead, std::uint8_t command, const std::uint8_t* body,
                 std::size_t n) {
  std::uint8_t packet[kMaxSlData + kPacketOverhead];
  packet[0] = lead;
  packet[1] = command;
  for (std::size_t i = 0; i < n; ++i) packet[2 + i] = body[i];
  const std::uint16_t crc = Crc16(packet, n + 2);
  packet[n + 2] = static_cast<std::uint8_t>(crc >> 8);
  packet[n + 3] = static_cast<std::uint8_t>(crc & 0xFF);
  return link.SubmitPacket(packet, static_cast<std::uint32_t>(n + kPacketOverhead));
}

// Why a receive ended early; each but the shutdown has its message.
enum class RxFailure { StreamingData, Timeout1, Timeout2, Timeout3, Checksum, Shutdown };

const char* FailureText(RxFailure failure) {
  switch (failure) {
    case RxFailure::StreamingData: return "RX Streaming Data Failure";
    case RxFailure::Timeout1: return "RX Timeout 1";
    case RxFailure::Timeout2: return "RX Timeout 2";
    case RxFailure::Timeout3: return "RX Timeout 3";
    case RxFailure::Checksum: return "RX Cksum Failure";
    case RxFailure::Shutdown: return nullptr;
  }
  return nullptr;
}

int Fail(EcmLink& link, RxFailure failure) {
  const char* text = FailureText(failure);
  MessageSink* sink = link.Messages();
  if (text && sink) sink->AddLine(link.Profile().receiveErrorColour, text);
  return -1;
}

std::uint32_t Elapsed(EcmLink& link, std::uint32_t since) { return link.Tick().Now() - since; }

enum class Wait { Ready, TimedOut, Abandoned };

// Waits for `count` bytes in the ring for at most `limit` ticks. It sleeps
// until the bytes arrive or the tick advances, so a reply is taken as soon
// as its bytes are there; a shutdown abandons the wait, so a closing
// program is not held up by a stopped clock.
Wait WaitForBytes(EcmLink& link, std::uint32_t count, std::uint32_t limit) {
  const std::uint32_t start = link.Tick().Now();
  for (;;) {
    const std::uint64_t seen = link.Changed().Count();
    if (link.RxAvailable() >= count) return Wait::Ready;
    if (Elapsed(link, start) > limit) return Wait::TimedOut;
    if (link.ShutdownRequested()) return Wait::Abandoned;
    link.AwaitBytes(count, seen);
  }
}

bool Failed(Wait wait, RxFailure onTimeOut, RxFailure* failure) {
  if (wait == Wait::Ready) return false;
  *failure = wait == Wait::TimedOut ? onTimeOut : RxFailure::Shutdown;
  return true;
}

const ReplyType* FindReplyType(int type) {
  for (const ReplyType& entry : ReplyTypeTable)
    if (entry.type == type) return &entry;
  return nullptr;
}

void FillReplyFields(SlReply& reply, std::uint8_t type) {
  reply.type = type;
  switch (type) {
    case 'A':
    case 'N':
      reply.command = reply.payload[0];
      reply.bank = reply.payload[1];
      reply.page = reply.payload[2];
      reply.infoEcho = reply.payload[4];
      break;
    case 'B':
    case 'C': reply.bank = reply.payload[0]; break;
    case 'P': reply.page = reply.payload[0]; break;
    default: break;
  }
}

// Finds 'S' followed by a known type letter; the type entry, or the failure.
const ReplyType* SearchHeader(EcmLink& link, RxFailure* failure) {
  const LinkProfile& profile = link.Profile();
  const std::uint32_t entered = link.Tick().Now();
  for (;;) {
    if (Elapsed(link, entered) > profile.headerSearchTicks) {
      *failure = RxFailure::StreamingData;
      return nullptr;
    }
    if (Failed(WaitForBytes(link, 2, profile.timeout1Ticks), RxFailure::Timeout1, failure)) return nullptr;
    if (link.RxNextByte() != kSlLead) continue;
    if (link.RxPeekByte() == kSlLead) continue;  // the second 'S' may start the header
    if (const ReplyType* entry = FindReplyType(link.RxNextByte())) return entry;
  }
}

}  // namespace

int SendMsPacket(EcmLink& link, std::uint8_t command, const std::uint8_t* args, std::size_t n) {
  if (n > kMaxMsArgs || (n > 0 && args == nullptr)) return -1;
  return SubmitFramed(link, kMsLead, command, args, n);
}

int SendSlPacket(EcmLink& link, std::uint8_t command, const std::uint8_t* data, std::size_t n) {
  if (command > kMaxSlCommand || n > kMaxSlData || (n > 0 && data == nullptr)) return -1;
  return SubmitFramed(link, kSlLead, command, data, n);
}

int ReceiveSlReply(EcmLink& link) {
  const LinkProfile& profile = link.Profile();
  RxFailure failure{};
  const ReplyType* entry = SearchHeader(link, &failure);
  if (entry == nullptr) return Fail(link, failure);

  SlReply& reply = link.Reply();
  for (std::uint32_t i = 0; i < entry->payloadLength; ++i) {
    if (Failed(WaitForBytes(link, 1, profile.timeout2Ticks), RxFailure::Timeout2, &failure))
      return Fail(link, failure);
    reply.payload[i] = static_cast<std::uint8_t>(link.RxNextByte());
  }
  if (Failed(WaitForBytes(link, 2, profile.timeout3Ticks), RxFailure::Timeout3, &failure))
    return Fail(link, failure);
  const int high = link.RxNextByte();
  const int low = link.RxNextByte();
  const std::uint16_t received = static_cast<std::uint16_t>((high << 8) | low);
  if (Crc16Prefixed(kSlLead, entry->type, reply.payload.data(), entry->payloadLength) != received)
    return Fail(link, RxFailure::Checksum);
  FillReplyFields(reply, entry->type);
  return 0;
}

}  // namespace vantor
