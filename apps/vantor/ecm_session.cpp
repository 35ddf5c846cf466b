#include "ecm_session.h"

#include <chrono>
#include <cstdio>
#include <thread>

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
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  // Ready once connected and any packet sent after the open has gone out.
  while (!(link_.Connected() && !link_.TxPending())) {
    if (std::chrono::steady_clock::now() > until) {
      std::fprintf(stderr, "vantor: can not open port %s\n", port.c_str());
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace vantor::cli
