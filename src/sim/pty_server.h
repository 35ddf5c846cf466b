#pragma once
// Serves a SimEcm on a pseudo-terminal, so that any program that opens the
// slave device talks to the simulated module as to a serial port.

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vantor::sim {

class SimEcm;
class ServerWake;

class PtyServer {
 public:
  // With a linkPath, a symbolic link there always names the current slave,
  // so a client keeps one path across Unplug/Replug.
  explicit PtyServer(SimEcm& ecm, std::string linkPath = {});
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  bool Start(std::string* error);
  void Stop();
  std::string SlavePath() const;
  // The link path when one was asked for, else the slave path.
  std::string DevicePath() const;

  // The device disappears (the client sees a hang-up) and comes back as a new pseudo-terminal.
  void Unplug();
  bool Replug(std::string* error);

 private:
  bool OpenPty(std::string* error);
  void ClosePty();
  void Serve();
  // How long the next poll may sleep, in microseconds (-1: until an event).
  std::int64_t SleepMicros();
  void PumpHostBytes();
  void PumpEcmBytes();

  SimEcm& ecm_;
  const std::string linkPath_;
  int master_ = -1;
  mutable std::mutex pathMutex_;
  std::string slavePath_;
  std::atomic<bool> stop_{false};
  std::unique_ptr<ServerWake> wake_;  // ends the server thread's poll for Stop
  std::thread thread_;
  std::vector<unsigned char> unsent_;
};

}  // namespace vantor::sim
