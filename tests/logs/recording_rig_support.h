#pragma once
// The recording side of the program on a scripted serial line: the link,
// its log hooks, the communication thread and the recorder.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/ecm_link.h"
#include "live/comm_thread.h"
#include "live/log_hooks.h"
#include "logs/data_log_recorder.h"
#include "logs/scripted_device_support.h"
#include "settings/settings.h"

namespace vantor::testing {

constexpr const char* kFixedDate = "07/20/2013 - 16:47:09";

struct ShownMessage {
  std::string text;
  std::string caption;
};

// The header a recording starts with, for these settings and the fixed date.
std::string ExpectedLogHeader(Settings& settings);

class RecordingRig {
 public:
  RecordingRig();
  ~RecordingRig();

  // Opens the scripted port; false when it did not connect within the bound.
  bool Connect();
  // Pushes bytes and waits until the communication thread took all of them.
  bool Feed(const std::vector<std::uint8_t>& bytes);
  // Waits until the communication thread served every pending request.
  bool WaitRequestsServed();
  std::vector<ShownMessage> Messages();
  // The header a recording starts with, for the rig's settings and date.
  std::string ExpectedHeader();

  std::shared_ptr<ScriptedLine> line = std::make_shared<ScriptedLine>();
  Settings settings;
  EcmLink link;
  LogHooks hooks;
  std::vector<bool> loggingStates;
  DataLogRecorder recorder;
  CommThread comm;

 private:
  std::mutex messagesMutex_;
  std::vector<ShownMessage> messages_;
};

}  // namespace vantor::testing
