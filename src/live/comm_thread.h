#pragma once
// The communication thread: the only code that touches the serial device.
// It services port requests, writes the pending packet, pumps received bytes
// into the receive ring and, while a data log is recorded, into the log.
// With nothing to do it sleeps in the device until bytes come or another
// thread wakes it (a request, a packet, a ring reset), or, with no port
// pumping, until a request comes.

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
  // Passes while connected, sleeping in the device whenever it is quiet.
  void Pump();
  enum class PassEnd { Next, Quiet, Leave };
  // One pass: a log duty, the packet, a ring reset or one received byte.
  PassEnd Pass();
  // A log duty or a packet waits: no sleep before the next pass.
  bool DutyWaiting() const;
  void ServeLogDuty();
  void LogReceivedByte(std::uint8_t byte);
  void WriteRecord(const std::string& text);
  void FailWriter();

  EcmLink& link_;
  LogHooks* hooks_;
  std::thread thread_;
};

}  // namespace vantor
