#pragma once
// The communication thread: the only code that touches the serial device.
// It services port requests, writes the pending packet, pumps received bytes
// into the receive ring and, while a data log is recorded, into the log.

#include <cstdint>
#include <string>
#include <thread>

namespace vantor {

class EcmLink;
struct LogHooks;

class CommThread {
 public:
  // hooks may be null (no data logging); only a profile with log writing uses them.
  CommThread(EcmLink& link, LogHooks* hooks);
  ~CommThread();
  CommThread(const CommThread&) = delete;
  CommThread& operator=(const CommThread&) = delete;

  void Start();
  // Asks the link to shut down and joins the thread. The program never needs
  // to; tests do.
  void Stop();

 private:
  void Run();
  // One pass while connected; false means leave the pumping loop.
  bool Pass();
  void ServeLogDuty();
  void LogReceivedByte(std::uint8_t byte);
  void WriteRecord(const std::string& text);
  void FailWriter();

  EcmLink& link_;
  LogHooks* hooks_;
  std::thread thread_;
};

}  // namespace vantor
