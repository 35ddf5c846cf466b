#pragma once
// The update run: read every bank into "Bank_%d_old.bin" (kept, read-only),
// convert each to "Bank_%d_new.bin", then program each bank with its converted
// calibration and the firmware code, both verified, page 0 (with the layout
// version) last. A run cut short can simply be started again.

#include <chrono>
#include <string>

#include "link/message_sink.h"
#include "update/bank_files.h"
#include "update/firmware_image.h"

namespace vantor {

class EcmLink;

constexpr int kBankCount = 8;

struct UpdateRun {
  std::string directory;            // where the bank files live; empty: current directory
  const FirmwareImage* firmware = nullptr;
  std::chrono::milliseconds conversionPause{100};
};

// Reads bank into path unless path exists already ("    -Calibration Exists-").
// A failed read leaves no file; a complete one is made read-only. 0 or -1.
int ReadBankToFile(EcmLink& link, MessageSink& pane, int bank, const std::string& path);

// The whole run (without the closing lines); 0 or -1. A missing bank folder
// is created first. Every saved or converted bank file is checked before it is
// used, and a bank is erased only when the module holds what its saved file
// says (or what an interrupted run left of it).
int UpdateAllBanks(EcmLink& link, MessageSink& pane, const UpdateRun& run);

}  // namespace vantor
