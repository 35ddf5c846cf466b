#pragma once
// One open connection to the ECM for a bank subcommand: the link with its
// communication thread and running LinkTick, on a serial port or, for the
// port name "SIM", on a simulated module inside this process.

#include <memory>
#include <string>

#include "link/ecm_link.h"
#include "live/comm_thread.h"
#include "sim/sim_ecm.h"

namespace vantor::cli {

class EcmSession {
 public:
  explicit EcmSession(const LinkProfile& profile);
  ~EcmSession();
  EcmSession(const EcmSession&) = delete;
  EcmSession& operator=(const EcmSession&) = delete;

  // Opens the port and waits until the link is ready; false, with a message
  // on stderr, as soon as the first attempt to open it failed.
  bool Open(const std::string& port);
  EcmLink& Link() { return link_; }

 private:
  sim::SimEcm sim_;  // stands behind the "SIM" port only
  EcmLink link_;
  CommThread comm_;
};

}  // namespace vantor::cli
