#pragma once
// The two programs run the same link; the update utility's differences are
// this one value handed to it.

#include <cstdint>

#include "link/message_sink.h"

namespace vantor {

enum class ReopenBackoff {
  CapAt5000,      // 250, 500, ... 4000, 5000, 5000, ...
  RestartAbove8000 // 250, 500, ... 8000, 125, 250, ...
};

struct LinkProfile {
  const char* name;
  std::uint32_t ringSize;            // receive ring bytes
  std::uint32_t inputQueueBytes;     // driver input queue
  std::uint32_t outputQueueBytes;
  ReopenBackoff backoff;
  bool streamAfterOpen;              // send TxMsXmit 102 after each open
  bool logWriting;                   // the communication thread writes data logs
  std::uint32_t headerSearchTicks;   // "RX Streaming Data Failure" after more than this
  std::uint32_t timeout1Ticks;       // "RX Timeout 1"
  std::uint32_t timeout2Ticks;       // "RX Timeout 2"
  std::uint32_t timeout3Ticks;       // "RX Timeout 3"
  Rgb receiveErrorColour;
  bool xmitBit0Only;                 // TxMsXmit sends only bit 0 of its argument
  std::uint32_t flashFirstWaitMs;    // TxMsFlash: wait after the first ring reset
  bool flashFinalWait;               // TxMsFlash: 10 ms after the second reset
  bool hasBankCommand;               // TxMsBank exists
  bool requestBinIsCommand3;         // TxSlRequestBin is "S" 3 with the whole bank
  std::uint8_t infoFourthParam;      // TxSlInfo job parameter 4
};

const LinkProfile& MainProgramProfile();
const LinkProfile& UpdateUtilityProfile();

constexpr std::uint32_t kMaxRingSize = 33792;

}  // namespace vantor
