#pragma once
// Whether a port answers as the module: it is opened as the program opens it
// (the live stream is asked for at once), listened to for at most a given
// time for one frame whose check value is right, and the stream is stopped
// again before the port closes.

#include <chrono>
#include <string>

namespace vantor::cli {

enum class ProbeOutcome { Module, OtherModule, Silent, CannotOpen };

struct ProbeResult {
  ProbeOutcome outcome = ProbeOutcome::Silent;
  std::string module;  // "ORV KDM-9, ECM Firmware Version: 1.0" when a frame came
};

// portName as [PORT] takes it: COM1..COM40, a device path, or SIM.
ProbeResult ProbePort(const std::string& portName, std::chrono::milliseconds limit);

}  // namespace vantor::cli
