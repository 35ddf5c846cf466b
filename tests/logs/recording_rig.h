#pragma once
// The recording side of the program on a fake serial line: the link, its log
// hooks, the communication thread and the recorder.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/ecm_link.h"
#include "support/test_ecm_support.h"
#include "live/comm_thread.h"
#include "live/log_hooks.h"
#include "logs/data_log_recorder.h"
#include "settings/settings.h"
#include "settings/settings_io.h"

namespace vantor::testing {

using simtest::WaitFor;

constexpr const char* kFixedDate = "07/20/2013 - 16:47:09";

struct ShownMessage {
  std::string text;
  std::string caption;
};

// The header a recording starts with, for these settings and the fixed date.
inline std::string ExpectedLogHeader(Settings& settings) {
  return std::string("TIME: ") + kFixedDate + SettingsText(MainProgramSettingsTable(), &settings, kLogHeaderLineEnd);
}

class RecordingRig {
 public:
  RecordingRig()
      : recorder(hooks, settings,
                 RecorderHooks{[this](const std::string& text, const std::string& caption) {
                                 std::lock_guard lock(messagesMutex_);
                                 messages_.push_back({text, caption});
                               },
                               [this](bool logging) { loggingStates.push_back(logging); }, nullptr}),
        comm(link, &hooks) {
    hooks.dateText = [] { return std::string(kFixedDate); };
    link.SetDeviceOpener([this](const std::string& name) { return opener.Open(name); });
    comm.Start();
  }
  ~RecordingRig() {
    recorder.StopDataLog();
    comm.Stop();
  }

  // Opens the fake port; false when it did not connect within the bound.
  bool Connect() {
    const std::string port = "SCRIPTED";
    link.RequestPort(PortOpen, &port);
    return WaitFor([this] { return link.Connected(); });
  }
  // Pushes bytes and waits until the communication thread took all of them.
  bool Feed(const std::vector<std::uint8_t>& bytes) {
    // A byte reaches the ring after the log, so the ring count shows it has
    // been through the log too. Nothing reads the ring here.
    const std::uint32_t target = link.RxAvailable() + static_cast<std::uint32_t>(bytes.size());
    wire->SendToHost(bytes);
    return WaitFor([&] { return link.RxAvailable() >= target; }) && WaitRequestsServed();
  }
  // Waits until the communication thread served every pending request.
  bool WaitRequestsServed() {
    return WaitFor([this] {
      return hooks.stampRequest.load() == 0 && hooks.markRequest.load() == 0 && hooks.flushRequest.load() == 0;
    });
  }
  std::vector<ShownMessage> Messages() {
    std::lock_guard lock(messagesMutex_);
    return messages_;
  }
  // The header a recording starts with, for the rig's settings and date.
  std::string ExpectedHeader() { return ExpectedLogHeader(settings); }

  std::shared_ptr<test::FakeWire> wire = std::make_shared<test::FakeWire>();
  test::FakeOpener opener{wire};
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
