#pragma once
// The update run: read every bank into "Bank_%d_old.bin" (kept, read-only),
// convert each to "Bank_%d_new.bin", then program each bank with its converted
// calibration and the firmware code, both verified, page 0 (with the layout
// version) last. A run cut short can simply be started again.

#include <chrono>
#include <string>

#include "link/message_sink.h"
#include "update/firmware_image.h"

namespace vantor {

class EcmLink;
class MessagePane;

constexpr int kBankCount = 8;

struct UpdateRun {
  std::string directory;            // where the bank files live; empty: current directory
  const FirmwareImage* firmware = nullptr;
  std::chrono::milliseconds conversionPause{100};
};

// "Bank_%d_old.bin" / "Bank_%d_new.bin" inside directory.
std::string OldBankPath(const std::string& directory, int bank);
std::string NewBankPath(const std::string& directory, int bank);

// Reads bank into path unless path exists already ("    -Calibration Exists-").
// A failed read leaves no file; a complete one is made read-only. 0 or -1.
int ReadBankToFile(EcmLink& link, MessageSink& pane, int bank, const std::string& path);

// The whole run (without the closing lines); 0 or -1.
int UpdateAllBanks(EcmLink& link, MessageSink& pane, const UpdateRun& run);

// The flash thread's work: clears the pane, runs UpdateAllBanks, adds a blank
// line and "    -Update Successful-" or "     -Update Failed-". 0 or -1.
int RunUpdate(EcmLink& link, MessagePane& pane, const UpdateRun& run);

// As RunUpdate, with the firmware image read from firmwarePath as the run
// starts: the pane first names the image; a missing or wrong-sized one ends
// the run with its reason before any command is sent (run.firmware is ignored).
int RunUpdateWithFirmwareFile(EcmLink& link, MessagePane& pane, UpdateRun run, const std::string& firmwarePath);

// "Firmware Image: " and the path, its start left out when it does not fit the pane.
std::string FirmwareImageLine(const std::string& firmwarePath, std::size_t width);

}  // namespace vantor
