#include "port_probe.h"

#include <array>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "link/crc16.h"
#include "link/ecm_link.h"
#include "live/comm_thread.h"
#include "live/frame_reader.h"
#include "live/live_frame.h"
#include "live/log_hooks.h"
#include "logs/log_head.h"
#include "sim/sim_ecm.h"
#include "sim/sim_serial.h"

namespace vantor::cli {
namespace {

using FrameData = std::array<std::uint8_t, kFrameDataSize>;

// Takes the received bytes where a data log would take them and tells a
// waiting caller, by a condition, of the first frame whose check is right.
class FrameWatcher final : public LogWriter {
 public:
  bool WriteByte(std::uint8_t byte) override {
    window_.push_back(byte);
    if (window_.size() >= kLogFrameSize) Check(window_.data() + window_.size() - kLogFrameSize);
    if (window_.size() > 4 * kLogFrameSize) window_.erase(window_.begin(), window_.end() - kLogFrameSize);
    return true;
  }
  bool WriteText(std::string_view) override { return true; }
  bool Flush() override { return true; }

  // The first good frame's data, or false when none came before deadline.
  bool WaitForFrame(std::chrono::steady_clock::time_point deadline, FrameData* data) {
    std::unique_lock lock(mutex_);
    if (!found_.wait_until(lock, deadline, [this] { return seen_; })) return false;
    *data = frame_;
    return true;
  }

 private:
  void Check(const std::uint8_t* at) {
    if (at[0] != 0x55 || at[1] != 0xAA) return;
    const unsigned check = static_cast<unsigned>(at[kLogFrameSize - 2]) << 8 | at[kLogFrameSize - 1];
    if (Crc16Prefixed(0x55, 0xAA, at + 2, kFrameDataSize) != check) return;
    {
      std::lock_guard lock(mutex_);
      if (seen_) return;
      std::copy_n(at + 2, kFrameDataSize, frame_.begin());
      seen_ = true;
    }
    found_.notify_all();
  }

  std::vector<std::uint8_t> window_;  // communication thread only
  std::mutex mutex_;
  std::condition_variable found_;
  bool seen_ = false;
  FrameData frame_{};
};

}  // namespace

ProbeResult ProbePort(const std::string& portName, std::chrono::milliseconds limit) {
  sim::SimEcm simulated;  // stands behind the port name "SIM" only
  EcmLink link(MainProgramProfile());
  link.SetDeviceOpener(sim::SimOpener(simulated));
  FrameWatcher watcher;
  LogHooks hooks;
  hooks.file = &watcher;
  hooks.writerMode = 1;
  CommThread comm(link, &hooks);
  link.RequestPort(PortOpen, &portName);
  comm.Start();
  ProbeResult result;
  if (link.AwaitOpenAttempt() != OpenOutcome::Connected) {
    result.outcome = ProbeOutcome::CannotOpen;
    return result;
  }
  FrameData data;
  if (watcher.WaitForFrame(std::chrono::steady_clock::now() + limit, &data)) {
    result.module = ModuleFirmwareText(data.data());
    result.outcome = (data[frame::kFirmware] & 0x10) ? ProbeOutcome::Module : ProbeOutcome::OtherModule;
  }
  // Stops the stream it asked for (the link sends the stop before closing).
  link.RequestPort(PortClose, nullptr);
  return result;
}

}  // namespace vantor::cli
