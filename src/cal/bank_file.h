#pragma once
// The end of every bank read: whatever calibration bytes reached the file are
// followed by the filler and the tail, and the balance area is set so that the
// file sums (from byte 8 to its end) to the checksum at bytes 6-7.

#include "cal/stdio_file.h"

namespace vantor {

// file is open for update and positioned after the bytes written so far.
// False when a write, seek or read fails.
bool CompleteBankFile(StdioFile& file);

}  // namespace vantor
