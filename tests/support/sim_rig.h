#pragma once
// An in-process ECM for the bank job tests: the simulated module behind the
// "SIM" port, the link and its communication thread, and a tap on the wire
// that records every packet the host writes and can tamper with it first.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/crc16.h"
#include "link/ecm_link.h"
#include "live/comm_thread.h"
#include "sim/sim_ecm.h"
#include "sim/sim_serial.h"
#include "support/sim_wire.h"

namespace vantor::test {

using Packet = std::vector<std::uint8_t>;

class WireTap {
 public:
  // Called with the packet's index (from 0) before it reaches the module; may change it.
  using Hook = std::function<void(std::size_t index, Packet& packet)>;

  void SetHook(Hook hook) {
    std::lock_guard lock(mutex_);
    hook_ = std::move(hook);
  }
  std::vector<Packet> Packets() const {
    std::lock_guard lock(mutex_);
    return packets_;
  }
  void Forget() {
    std::lock_guard lock(mutex_);
    packets_.clear();
  }
  // The packet as it goes out; the recorded copy is the host's original.
  Packet Pass(const std::uint8_t* bytes, std::size_t length) {
    Packet packet(bytes, bytes + length);
    Hook hook;
    std::size_t index;
    {
      std::lock_guard lock(mutex_);
      packets_.push_back(packet);
      index = packets_.size() - 1;
      hook = hook_;
    }
    if (hook) hook(index, packet);
    return packet;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Packet> packets_;
  Hook hook_;
};

class TappedDevice final : public SerialDevice {
 public:
  TappedDevice(std::unique_ptr<SerialDevice> inner, std::shared_ptr<WireTap> tap)
      : inner_(std::move(inner)), tap_(std::move(tap)) {}
  bool ClearEventMask() override { return inner_->ClearEventMask(); }
  bool SetNonBlockingReads() override { return inner_->SetNonBlockingReads(); }
  bool ConfigureLine() override { return inner_->ConfigureLine(); }
  bool SetQueueSizes(std::uint32_t in, std::uint32_t out) override { return inner_->SetQueueSizes(in, out); }
  IoStatus Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) override {
    return inner_->Read(buffer, capacity, got);
  }
  IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) override {
    const Packet sent = tap_->Pass(bytes, length);
    std::size_t ignored = 0;
    const IoStatus status = inner_->Write(sent.data(), sent.size(), &ignored);
    *written = status == IoStatus::Ok ? length : 0;
    return status;
  }
  void WaitReadable(std::chrono::milliseconds bound) override { inner_->WaitReadable(bound); }
  void Interrupt() override { inner_->Interrupt(); }

 private:
  std::unique_ptr<SerialDevice> inner_;
  std::shared_ptr<WireTap> tap_;
};

inline sim::SimOptions UnpacedSim() {
  sim::SimOptions options;
  options.paced = false;
  return options;
}

using simtest::MsPacket;
using simtest::WaitFor;

class SimRig {
 public:
  explicit SimRig(const LinkProfile& profile, sim::SimOptions options = UnpacedSim())
      : ecm(options), link(profile), comm(link, nullptr), tap(std::make_shared<WireTap>()) {
    link.SetDeviceOpener([this](const std::string&) -> std::unique_ptr<SerialDevice> {
      auto inner = sim::OpenSimDevice(ecm);
      if (!inner || !ecm.Plugged()) return nullptr;
      return std::make_unique<TappedDevice>(std::move(inner), tap);
    });
  }
  ~SimRig() { comm.Stop(); }

  // Opens "SIM", waits until the link is connected and its first packet (the
  // main program's stream request) is on the wire, then forgets that packet.
  bool Open() {
    const std::string name = sim::kSimPortName;
    link.RequestPort(PortOpen, &name);
    comm.Start();
    const bool ok = WaitFor([this] { return link.Connected() && !link.TxPending(); });
    tap->Forget();
    return ok;
  }

  sim::SimEcm ecm;
  EcmLink link;
  CommThread comm;
  std::shared_ptr<WireTap> tap;
};

// ---- expected packets: an "S" packet with its leading data bytes, then a page when given ----

inline Packet SlPacket(std::uint8_t command, std::vector<std::uint8_t> head, const std::uint8_t* page = nullptr) {
  if (page) head.insert(head.end(), page, page + 128);
  return simtest::SlPacket(command, head);
}
inline std::uint8_t U8(int value) { return static_cast<std::uint8_t>(value); }
inline Packet InfoPacket(int bank, int fourth) { return SlPacket(0, {0x20, U8(bank), 1, 1, 1, U8(fourth)}); }
inline Packet RequestCalPacket(int bank) { return SlPacket(1, {U8(bank)}); }
inline Packet RequestBinPacket(int bank) { return SlPacket(3, {U8(bank)}); }
inline Packet StopPacket() { return SlPacket(4, {}); }
inline Packet PagePacket(int page, const std::uint8_t* data) { return SlPacket(7, {U8(page)}, data); }
inline Packet ErasePacket(int sector) {
  std::vector<std::uint8_t> head(18, 0x00);  // sector, 16 characters, a 0 byte
  head[0] = static_cast<std::uint8_t>(sector);
  const std::string text = " Erase Sector   ";
  std::copy(text.begin(), text.end(), head.begin() + 1);
  return SlPacket(2, head);
}

// Changes one byte and puts a matching check value behind it, so the module
// takes the packet as sent (a fault the check value cannot catch).
inline void ChangeByteKeepingCheck(Packet& packet, std::size_t at, std::uint8_t flip) {
  packet[at] ^= flip;
  const std::size_t covered = packet.size() - 2;
  const std::uint16_t crc = Crc16(packet.data(), covered);
  packet[covered] = static_cast<std::uint8_t>(crc >> 8);
  packet[covered + 1] = static_cast<std::uint8_t>(crc);
}

// A tap hook that makes the module refuse ('N') packet number `index` by spoiling its check value.
inline WireTap::Hook RefusePacket(std::size_t index) {
  return [index](std::size_t i, Packet& packet) {
    if (i == index) packet.back() ^= 0x01;
  };
}

}  // namespace vantor::test
