#include "ecm_session.h"

#include <cstdio>

#include "sim/sim_serial.h"

namespace vantor::cli {

EcmSession::EcmSession(const LinkProfile& profile) : link_(profile), comm_(link_, nullptr) {
  link_.SetDeviceOpener(sim::SimOpener(sim_));
}

EcmSession::~EcmSession() {
  link_.Tick().Stop();
  comm_.Stop();
}

bool EcmSession::Open(const std::string& port) {
  link_.RequestPort(PortOpen, &port);
  comm_.Start();
  link_.Tick().Start();
  // The link retries a missing port for ever, as the window wants; the tool
  // gives up at the first failed attempt.
  if (link_.AwaitOpenAttempt() == OpenOutcome::Connected) return true;
  std::fprintf(stderr, "vantor: can not open port %s\n", port.c_str());
  return false;
}

}  // namespace vantor::cli
