#include "link/commands.h"

#include <array>
#include <chrono>
#include <cstring>

#include "link/ecm_link.h"
#include "link/packets.h"

namespace vantor {
namespace {

using std::chrono::milliseconds;

constexpr std::uint8_t kXmitCode = 'X';
constexpr std::uint8_t kBankCode = 'B';
constexpr std::uint8_t kFlashCode = 'F';

enum SlCommand : std::uint8_t {
  kSlInfo = 0,
  kSlRequestCal = 1,
  kSlEraseSector = 2,
  kSlRequestBin = 3,
  kSlStop = 4,
  kSlPgmPage = 7,
};

constexpr std::size_t kSlDataSize = 129;
constexpr std::size_t kPageSize = 128;
constexpr std::uint8_t kFill = 0x20;
constexpr char kEraseText[] = " Erase Sector   ";  // 16 characters, then a 0 byte
constexpr milliseconds kStopSettle{60};
constexpr milliseconds kBankRepeat{60};
constexpr milliseconds kFlashFinalWait{10};
constexpr milliseconds kResetBound{1000};

using SlData = std::array<std::uint8_t, kSlDataSize>;

SlData BlankData() {
  SlData data;
  data.fill(kFill);
  return data;
}

// Empties the receive ring and, while the communication thread pumps, waits
// until it has done so, so the next reply is not read from a ring being reset.
void ResetRing(EcmLink& link) {
  link.RequestRxReset();
  link.AwaitRxReset(kResetBound);
}

int SendMsByte(EcmLink& link, std::uint8_t code, std::uint8_t argument) {
  return SendMsPacket(link, code, &argument, 1);
}

// Sends the packet and, when it was accepted, reads the reply; the caller
// then judges the reply.
int Exchange(EcmLink& link, SlCommand command, const SlData& data) {
  if (SendSlPacket(link, command, data.data(), data.size()) != 0) return -1;
  return ReceiveSlReply(link);
}

bool IsAck(const SlReply& reply, SlCommand command) { return reply.type == 'A' && reply.command == command; }

int Result(bool ok) { return ok ? 0 : -1; }

// The fourth job parameter: 0 stays 0, 1..15 are sent as 15, larger values as they are.
std::uint8_t FourthJobParameter(std::uint8_t p) { return (p >= 1 && p <= 15) ? 15 : p; }

int RequestBank(EcmLink& link, SlCommand command, std::uint8_t expectedType, int bank) {
  SlData data = BlankData();
  data[0] = static_cast<std::uint8_t>(bank);
  if (Exchange(link, command, data) != 0) return -1;
  const SlReply& reply = link.Reply();
  return Result(reply.type == expectedType && reply.bank == data[0]);
}

}  // namespace

int TxMsXmit(EcmLink& link, int request) {
  const int mask = link.Profile().xmitBit0Only ? 0x01 : 0xFF;
  const auto argument = static_cast<std::uint8_t>(request & mask);
  const int result = SendMsByte(link, kXmitCode, argument);
  if (argument == kStreamStop) {
    // Frames already in flight are thrown away once they have landed.
    link.Sleep(kStopSettle);
    ResetRing(link);
  }
  return result;
}

int TxMsBank(EcmLink& link, int bank) {
  if (!link.Profile().hasBankCommand) return -1;
  const auto argument = static_cast<std::uint8_t>(bank & 7);
  const int first = SendMsByte(link, kBankCode, argument);
  link.Sleep(kBankRepeat);
  const int second = SendMsByte(link, kBankCode, argument);
  return Result(first == 0 || second == 0);
}

int TxMsFlash(EcmLink& link) {
  const LinkProfile& profile = link.Profile();
  const int result = SendMsByte(link, kFlashCode, 0);
  if (result == 0) link.RequestRxReset();
  link.Sleep(milliseconds(profile.flashFirstWaitMs));
  ResetRing(link);
  if (profile.flashFinalWait) link.Sleep(kFlashFinalWait);
  return result;
}

int TxSlInfo(EcmLink& link, const InfoParams& params) {
  SlData data = BlankData();
  data[1] = params.bank;
  data[2] = params.p1;
  data[3] = params.p2;
  data[4] = params.p3;
  data[5] = FourthJobParameter(params.p4);
  if (Exchange(link, kSlInfo, data) != 0) return -1;
  const SlReply& reply = link.Reply();
  return Result(IsAck(reply, kSlInfo) && reply.infoEcho == data[3]);
}

int TxSlRequestCal(EcmLink& link, int bank) { return RequestBank(link, kSlRequestCal, 'C', bank); }

int TxSlEraseSector(EcmLink& link, int sector) {
  SlData data = BlankData();
  data[0] = static_cast<std::uint8_t>(sector);
  std::memcpy(&data[1], kEraseText, sizeof kEraseText);  // includes the 0 byte at 17
  if (Exchange(link, kSlEraseSector, data) != 0) return -1;
  return Result(IsAck(link.Reply(), kSlEraseSector));
}

int TxSlRequestBin(EcmLink& link, int bank) {
  if (link.Profile().requestBinIsCommand3) return RequestBank(link, kSlRequestBin, 'B', bank);
  return RequestBank(link, kSlRequestCal, 'C', bank);
}

int TxSlStop(EcmLink& link, bool wait) {
  const SlData data = BlankData();
  if (!wait) return SendSlPacket(link, kSlStop, data.data(), data.size());
  if (Exchange(link, kSlStop, data) != 0) return -1;
  return Result(IsAck(link.Reply(), kSlStop));
}

int TxSlPgmPage(EcmLink& link, int page, int selectedBank, const std::uint8_t* data128) {
  if (data128 == nullptr) return -1;
  SlData data;
  data[0] = static_cast<std::uint8_t>(page);
  std::memcpy(&data[1], data128, kPageSize);
  if (Exchange(link, kSlPgmPage, data) != 0) return -1;
  const SlReply& reply = link.Reply();
  return Result(IsAck(reply, kSlPgmPage) && reply.page == data[0] &&
                reply.bank == static_cast<std::uint8_t>(selectedBank));
}

}  // namespace vantor
