// Windows has no pseudo-terminals: the server never starts and says why.
// The programs there reach the simulated module in-process (port "SIM").
#ifdef _WIN32

#include "sim/pty_server.h"

namespace vantor::sim {

class ServerWake {};  // nothing to wake: no server thread runs here

PtyServer::PtyServer(SimEcm& ecm, std::string linkPath) : ecm_(ecm), linkPath_(std::move(linkPath)) {}
PtyServer::~PtyServer() = default;

bool PtyServer::Start(std::string* error) {
  if (error) *error = "pseudo-terminals are not available on Windows";
  return false;
}

void PtyServer::Stop() {}
std::string PtyServer::SlavePath() const { return {}; }
std::string PtyServer::DevicePath() const { return linkPath_; }
void PtyServer::Unplug() {}
bool PtyServer::Replug(std::string* error) { return Start(error); }

}  // namespace vantor::sim

#endif  // _WIN32
