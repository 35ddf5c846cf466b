#include "logs/recording_rig_support.h"

#include "settings/settings_io.h"

namespace vantor::testing {

RecordingRig::RecordingRig()
    : recorder(hooks, settings,
               RecorderHooks{[this](const std::string& text, const std::string& caption) {
                               std::lock_guard lock(messagesMutex_);
                               messages_.push_back({text, caption});
                             },
                             [this](bool logging) { loggingStates.push_back(logging); }, nullptr}),
      comm(link, &hooks) {
  hooks.dateText = [] { return std::string(kFixedDate); };
  link.SetDeviceOpener(ScriptedOpener(line));
  comm.Start();
}

RecordingRig::~RecordingRig() {
  recorder.StopDataLog();
  comm.Stop();
}

bool RecordingRig::Connect() {
  const std::string port = "SCRIPTED";
  link.RequestPort(PortOpen, &port);
  return WaitFor([this] { return link.Connected(); });
}

bool RecordingRig::Feed(const std::vector<std::uint8_t>& bytes) {
  // A byte reaches the ring after the log, so the ring count shows it has
  // been through the log too. Nothing reads the ring here.
  const std::uint32_t target = link.RxAvailable() + static_cast<std::uint32_t>(bytes.size());
  line->Push(bytes);
  return WaitFor([&] { return link.RxAvailable() >= target; }) && WaitRequestsServed();
}

bool RecordingRig::WaitRequestsServed() {
  return WaitFor([this] {
    return hooks.stampRequest.load() == 0 && hooks.markRequest.load() == 0 && hooks.flushRequest.load() == 0;
  });
}

std::vector<ShownMessage> RecordingRig::Messages() {
  std::lock_guard lock(messagesMutex_);
  return messages_;
}

std::string RecordingRig::ExpectedHeader() { return ExpectedLogHeader(settings); }

std::string ExpectedLogHeader(Settings& settings) {
  return std::string("TIME: ") + kFixedDate + SettingsText(MainProgramSettingsTable(), &settings, kLogHeaderLineEnd);
}

}  // namespace vantor::testing
