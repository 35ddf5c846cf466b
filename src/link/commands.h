#pragma once
// The ECM command set. Every function returns 0 on success, -1 on failure.
// Behaviour follows the link's profile (main program or update utility).

#include <cstdint>

namespace vantor {

class EcmLink;

constexpr int kStreamStart = 102;
constexpr int kStreamStop = 0;

int TxMsXmit(EcmLink& link, int request);   // 'R' 'X'; 0 also waits 60 ms and resets the ring
int TxMsBank(EcmLink& link, int bank);      // 'R' 'B' (bank AND 7) twice, 60 ms apart
int TxMsFlash(EcmLink& link);               // 'R' 'F' 0, then the ring resets

// Job parameters carried by TxSlInfo after the bank number.
struct InfoParams {
  std::uint8_t bank = 0;
  std::uint8_t p1 = 1, p2 = 1, p3 = 1;
  std::uint8_t p4 = 25;
};

int TxSlInfo(EcmLink& link, const InfoParams& params);
int TxSlRequestCal(EcmLink& link, int bank);
int TxSlEraseSector(EcmLink& link, int sector);
int TxSlRequestBin(EcmLink& link, int bank);   // update utility: "S" 3, the whole bank
int TxSlStop(EcmLink& link, bool wait);
int TxSlPgmPage(EcmLink& link, int page, int selectedBank, const std::uint8_t* data128);

}  // namespace vantor
