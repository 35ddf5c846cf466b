#pragma once
// A stand-in serial line for link tests: a fake device whose far end answers
// the host's packets, and a link whose communication duties the test thread
// does, its messages kept by a pane recorder.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/pane_recorder.h"
#include "link/crc16.h"
#include "link/ecm_link.h"
#include "link/link_profile.h"
#include "support/sim_wire.h"

namespace vantor::test {

using Bytes = std::vector<std::uint8_t>;
using simtest::WaitFor;

// 'S', type, payload and check value, built in place (GCC 12 misreads an insert here).
inline Bytes MakeReply(std::uint8_t type, const Bytes& payload) {
  Bytes reply(payload.size() + 2);
  reply[0] = 0x53;
  reply[1] = type;
  std::copy(payload.begin(), payload.end(), reply.begin() + 2);
  simtest::AppendCheck(reply);
  return reply;
}

// A 12-byte 'A' or 'N' payload with the echo fields set.
inline Bytes AckPayload(std::uint8_t command, std::uint8_t bank, std::uint8_t page, std::uint8_t infoEcho) {
  Bytes payload(12, 0);
  payload[0] = command;
  payload[1] = bank;
  payload[2] = page;
  payload[4] = infoEcho;
  return payload;
}

// The far end of the line, shared by the fake devices and the test.
class FakeWire {
 public:
  // Given each packet the host writes; returns the bytes the module sends back.
  using Responder = std::function<Bytes(const Bytes& packet)>;

  void SetResponder(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
  }
  void SendToHost(const Bytes& bytes) {
    {
      std::lock_guard lock(mutex_);
      toHost_.insert(toHost_.end(), bytes.begin(), bytes.end());
    }
    changed_.notify_all();
  }
  std::vector<Bytes> Packets() const {
    std::lock_guard lock(mutex_);
    return packets_;
  }
  std::size_t PacketCount() const { return Packets().size(); }
  void ClearPackets() {
    std::lock_guard lock(mutex_);
    packets_.clear();
  }
  void FailReads(bool fail) {
    {
      std::lock_guard lock(mutex_);
      failReads_.store(fail);
    }
    changed_.notify_all();
  }
  // Until bytes or a failure wait for the host, `bound` passes or `interrupted` says so.
  void WaitReadable(std::chrono::milliseconds bound, const std::function<bool()>& interrupted) {
    waitsBegun_.fetch_add(1);
    std::unique_lock lock(mutex_);
    const auto ready = [&] { return !toHost_.empty() || failReads_.load() || interrupted(); };
    if (holdWaits_.load()) {
      changed_.wait(lock, ready);
    } else {
      changed_.wait_for(lock, bound, ready);
    }
  }
  // Held, a wait ignores its bound: only bytes, a failure or an interrupt end it.
  void HoldWaits(bool hold) { holdWaits_.store(hold); }
  int WaitsBegun() const { return waitsBegun_.load(); }
  void Wake() {
    { std::lock_guard lock(mutex_); }
    changed_.notify_all();
  }

  IoStatus Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) {
    *got = 0;
    if (failReads_.load()) return IoStatus::Failed;
    std::lock_guard lock(mutex_);
    *got = std::min(capacity, toHost_.size());
    std::copy_n(toHost_.begin(), *got, buffer);
    toHost_.erase(toHost_.begin(), toHost_.begin() + static_cast<std::ptrdiff_t>(*got));
    return *got ? IoStatus::Ok : IoStatus::NoData;
  }
  IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) {
    std::lock_guard lock(mutex_);
    packets_.emplace_back(bytes, bytes + length);
    if (responder_) {
      const Bytes answer = responder_(packets_.back());
      toHost_.insert(toHost_.end(), answer.begin(), answer.end());
    }
    *written = length;
    return IoStatus::Ok;
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  Responder responder_;
  Bytes toHost_;
  std::vector<Bytes> packets_;
  std::atomic<bool> failReads_{false};
  std::atomic<bool> holdWaits_{false};
  std::atomic<int> waitsBegun_{0};
};

class FakeDevice final : public SerialDevice {
 public:
  explicit FakeDevice(std::shared_ptr<FakeWire> wire) : wire_(std::move(wire)) {}
  bool ClearEventMask() override { return true; }
  bool SetNonBlockingReads() override { return true; }
  bool ConfigureLine() override { return true; }
  bool SetQueueSizes(std::uint32_t, std::uint32_t) override { return true; }
  IoStatus Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) override {
    return wire_->Read(buffer, capacity, got);
  }
  IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) override {
    return wire_->Write(bytes, length, written);
  }
  void WaitReadable(std::chrono::milliseconds bound) override {
    wire_->WaitReadable(bound, [this] { return interrupted_.exchange(false); });
  }
  void Interrupt() override {
    interrupted_.store(true);
    wire_->Wake();
  }

 private:
  std::shared_ptr<FakeWire> wire_;
  std::atomic<bool> interrupted_{false};
};

// Hands out devices on the wire; notes the port asked for and can refuse.
class FakeOpener {
 public:
  explicit FakeOpener(std::shared_ptr<FakeWire> wire) : wire_(std::move(wire)) {}
  std::unique_ptr<SerialDevice> Open(const std::string& portName) {
    {
      std::lock_guard lock(mutex_);
      lastName_ = portName;
    }
    if (refuse_.load()) return nullptr;
    return std::make_unique<FakeDevice>(wire_);
  }
  void Refuse(bool refuse) { refuse_.store(refuse); }
  std::string LastPortName() const {
    std::lock_guard lock(mutex_);
    return lastName_;
  }

 private:
  std::shared_ptr<FakeWire> wire_;
  std::atomic<bool> refuse_{false};
  mutable std::mutex mutex_;
  std::string lastName_;
};

// A link on a fake wire whose communication duties the test thread does.
struct LinkRig {
  explicit LinkRig(const LinkProfile& profile = MainProgramProfile()) : opener(wire), link(profile), sink(&link.Tick()) {
    link.SetDeviceOpener([this](const std::string& name) { return opener.Open(name); });
    link.SetMessageSink(&sink);
  }
  // Opens the port as the communication thread would and writes the stream request.
  void Open() {
    const std::string port = "COM2";
    link.RequestPort(PortOpen, &port);
    link.ServicePortRequest();
    link.WritePendingPacket();  // the stream request of the main program
  }
  // Answers every "S" packet with `reply`; an empty one is silence.
  void AnswerSl(const Bytes& reply) {
    wire->SetResponder([reply](const Bytes& packet) { return packet[0] == 'S' ? reply : Bytes(); });
  }
  // Writes the pending packet; the last packet on the wire.
  Bytes Written() {
    link.WritePendingPacket();
    const std::vector<Bytes> packets = wire->Packets();
    return packets.empty() ? Bytes() : packets.back();
  }
  // Stores bytes into the receive ring as the communication thread would.
  void Feed(const Bytes& bytes) {
    for (std::uint8_t b : bytes) link.StoreRxByte(b);
    link.AnnounceArrival();
  }
  // Runs `call` as the user-interface thread would while this thread does the
  // communication thread's writes, ring resets and reads, until the call
  // returns and its last packet is written.
  void WhileServed(const std::function<void()>& call) {
    std::atomic<bool> done{false};
    std::thread ui([&] {
      call();
      done.store(true);
    });
    while (!done.load()) {
      link.WritePendingPacket();
      std::uint8_t byte = 0;
      if (!link.ServiceRxReset() && link.HandleValid())
        while (link.ReadDeviceByte(&byte) == IoStatus::Ok) link.StoreRxByte(byte);
      std::this_thread::yield();
    }
    ui.join();
    link.WritePendingPacket();
  }

  std::shared_ptr<FakeWire> wire = std::make_shared<FakeWire>();
  FakeOpener opener;
  EcmLink link;
  PaneRecorder sink;
};

}  // namespace vantor::test
