#include "live/live_session.h"

namespace vantor {

LiveSession::LiveSession(const Settings& settings, SerialOpener opener)
    : link_(MainProgramProfile()),
      sources_(&link_, ByteSourceId::Live),
      loop_(sources_, live_, adc_, state_),
      display_(loop_, sources_, state_, &link_, &hooks_),
      comm_(link_, &hooks_),
      ticker_(state_, [this] { sources_.Wake(); }) {
  link_.SetDeviceOpener(std::move(opener));
  Reconfigure(settings);
}

LiveSession::~LiveSession() { Stop(); }

void LiveSession::Reconfigure(const Settings& settings) {
  adc_.BuildActiveChannels(settings);
  loop_.ApplySettings(settings);
}

void LiveSession::Start() {
  if (started_) return;
  started_ = true;
  ticker_.Start();
  display_.Start();
  comm_.Start();
}

void LiveSession::Stop() {
  if (!started_) return;
  started_ = false;
  if (link_.HandleValid()) {
    // The stream stop goes out first; the close itself is served by the
    // communication thread, which is told to leave only once it is done.
    link_.RequestPort(PortClose, nullptr);
    link_.AwaitClosed(std::chrono::milliseconds(2000));
  }
  display_.Stop();
  comm_.Stop();
  ticker_.Stop();
}

}  // namespace vantor
