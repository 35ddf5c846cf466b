#pragma once
// The update run as the flash thread and the command-line tool run it: the
// pane cleared first, closed with a blank line and "    -Update Successful-"
// or "     -Update Failed-".

#include "update/bank_update.h"
#include "update/firmware_image.h"

namespace vantor {

class MessagePane;

// Clears the pane, runs UpdateAllBanks and adds the closing lines. 0 or -1.
int RunUpdate(EcmLink& link, MessagePane& pane, const UpdateRun& run);

// As RunUpdate, with the firmware image taken from source as the run starts:
// the pane first names the image; an image that is missing, unreadable, not
// 24,576 bytes, or the stand-in on a real module ends the run with its reason
// and what to do, before any command is sent (run.firmware is ignored).
int RunUpdateWithFirmware(EcmLink& link, MessagePane& pane, UpdateRun run, const FirmwareSource& source);

}  // namespace vantor
