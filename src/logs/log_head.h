#pragma once
// What the head of a viewer log names: the module and its firmware, from the
// log's first good frame, and the capture date, from the log's first time
// stamp or, in a log without one, from the file's time.

#include <cstdint>
#include <string>

namespace vantor {

struct LogHead {
  bool hasFrame = false;
  std::string module;       // "ORV KDM-9, ECM Firmware Version: 1.0"
  std::string captureDate;  // "07/20/2013 - 16:47:09"
};

// False when the log cannot be opened.
bool ReadLogHead(const std::string& logPath, LogHead* head);

// The module and its firmware as a frame names them (byte 54):
// "ORV KDM-9, ECM Firmware Version: 1.0" or "ORV Q8, ...".
std::string ModuleFirmwareText(const std::uint8_t* data);

// "MM/DD/YYYY - hh:mm:ss" of a file's last change, in local time; empty when unknown.
std::string FileTimeText(const std::string& path);

}  // namespace vantor
