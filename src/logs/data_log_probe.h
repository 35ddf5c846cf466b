#pragma once
// Whether a file may take a new recording at its end: only an empty file or
// one whose start reads as a data log, so that a recording never grows a
// calibration, a text or any other file chosen by mistake.

#include <cstdio>

namespace vantor {

// Device: a terminal, pipe or other stream, which has no start to read back.
enum class AppendTarget { Empty, DataLog, Device, NotADataLog, Unreadable };

// Reads the start of an open file (readable, for example "a+b"): a data log
// starts with its "TIME:" record and settings text, followed by frames, one
// of which passes its check within the first 64 KiB. Leaves the position at
// the end, ready for appending.
AppendTarget ProbeAppendTarget(std::FILE* file);

}  // namespace vantor
