#pragma once
// The simulated ORV KDM-9: answers the host's packets as the module does,
// streams live frames from the engine model or a replayed log, and holds
// eight banks of flash. Safe to use from several threads.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sim/flash_memory.h"
#include "sim/frame_source.h"
#include "sim/host_packet_parser.h"
#include "sim/output_line.h"
#include "sim/sim_clock.h"
#include "sim/sim_faults.h"

namespace vantor::sim {

struct SimOptions {
  bool paced = true;                 // 11,520 bytes a second on the line
  double framesPerSecond = 17.0;
  int cylinders = 8;
  std::shared_ptr<SimClock> clock;   // null: the steady clock
};

// One packet as the simulated ECM received it.
struct ReceivedPacket {
  std::uint8_t form = 0;
  std::uint8_t command = 0;
  std::uint8_t firstByte = 0;  // argument or first data byte
  bool checkOk = false;
};

class SimEcm {
 public:
  explicit SimEcm(SimOptions options = {});

  // ---- the serial line ----
  void Receive(const std::uint8_t* bytes, std::size_t n);
  // Bytes that have reached the host by now.
  std::size_t Transmit(std::uint8_t* out, std::size_t capacity);
  std::int64_t NowMicros() const { return clock_->NowMicros(); }
  // Readers take the bytes in batches of kReceiveBatch, or a shorter burst
  // whole once its last byte is there: as a USB serial adapter passes on its
  // receive buffer (256 bytes in common chips) when it is full or the line
  // falls quiet.
  static constexpr std::size_t kReceiveBatch = 256;
  // Microseconds until the next batch has reached the host: 0 when it has,
  // -1 when nothing is on its way.
  std::int64_t BatchDueIn();
  // Sleeps until the next batch has reached the host, the cable is pulled,
  // `bound` passes or `interrupted` (asked under the simulator's lock, again
  // after each WakeWaiters) says so.
  void AwaitBatch(std::chrono::milliseconds bound, const std::function<bool()>& interrupted);
  void WakeWaiters();

  // ---- the cable: a device unplugged fails every I/O until replugged ----
  void Unplug();
  void Replug();
  bool Plugged() const;
  std::uint64_t PlugGeneration() const;

  // ---- state ----
  bool Streaming() const;
  bool FlashMode() const;
  int RunningBank() const;
  int SelectedBank() const;
  std::uint64_t FramesQueued() const;
  std::vector<ReceivedPacket> ReceivedPackets() const;

  // ---- flash ----
  bool LoadBank(int bank, const std::vector<std::uint8_t>& image);
  bool LoadBankFile(int bank, const std::string& path, std::string* error);
  std::vector<std::uint8_t> Bank(int bank) const;

  // ---- frames: the engine model unless a log is replayed ----
  bool Replay(const std::string& logPath, std::string* error);

  // ---- faults ----
  void SetFaults(const SimFaults& faults);
  SimFaults Faults() const;

 private:
  void Handle(const HostPacket& packet, std::int64_t now);
  void HandleMs(const HostPacket& packet, std::int64_t now);
  void HandleSl(const HostPacket& packet, std::int64_t now);
  void QueueReply(std::uint8_t type, const std::vector<std::uint8_t>& payload, std::int64_t now);
  void QueueAck(std::uint8_t type, std::uint8_t command, std::uint8_t page, std::uint8_t infoEcho, std::int64_t now);
  void QueueFrames(std::int64_t now);
  void QueueOutput(std::vector<std::uint8_t> bytes, std::int64_t readyAt, bool isFrame);
  std::vector<std::uint8_t> BuildFrame();
  template <typename Read>
  auto Locked(Read read) const {
    std::lock_guard lock(mutex_);
    return read();
  }
  void StopStream();
  std::int64_t BatchDueAt(std::int64_t now);  // under mutex_

  mutable std::mutex mutex_;
  std::condition_variable lineChanged_;
  SimOptions options_;
  std::shared_ptr<SimClock> clock_;
  std::unique_ptr<FrameSource> frames_;
  int RunningVeCell(double rpm, double mapKpa) const;  // under mutex_
  HostPacketParser parser_;
  OutputLine line_;
  FlashMemory flash_;
  SimFaults faults_;
  std::vector<ReceivedPacket> received_;

  bool plugged_ = true;
  std::uint64_t plugGeneration_ = 1;
  bool streaming_ = false;
  bool flashMode_ = false;
  int runningBank_ = 0;
  int selectedBank_ = 0;
  std::int64_t nextFrameAt_ = 0;
  std::uint64_t framesQueued_ = 0;
};

}  // namespace vantor::sim
