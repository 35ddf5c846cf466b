#pragma once
// A small stand-in ECM for link tests: a fake serial device whose far end
// answers packets like the module does, a recording message sink, and a
// thread doing the communication thread's duties.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "link/crc16.h"
#include "link/ecm_link.h"
#include "link/link_profile.h"
#include "sim/sim_wire.h"

namespace vantor::test {

using Bytes = std::vector<std::uint8_t>;
using simtest::WaitFor;

// 'S', type, payload, Crc16Prefixed high and low.
inline Bytes MakeReply(std::uint8_t type, const Bytes& payload) {
  Bytes reply{0x53, type};
  reply.insert(reply.end(), payload.begin(), payload.end());
  const std::uint16_t crc = Crc16Prefixed(0x53, type, payload.data(), payload.size());
  reply.push_back(static_cast<std::uint8_t>(crc >> 8));
  reply.push_back(static_cast<std::uint8_t>(crc & 0xFF));
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

// The link side of the wire, shared by the fake device and the test.
class FakeWire {
 public:
  // Called with each packet the host writes; returns the bytes the ECM sends back.
  using Responder = std::function<Bytes(const Bytes& packet)>;

  void SetResponder(Responder responder) {
    std::lock_guard lock(mutex_);
    responder_ = std::move(responder);
  }
  void SendToHost(const Bytes& bytes) {
    std::lock_guard lock(mutex_);
    toHost_.insert(toHost_.end(), bytes.begin(), bytes.end());
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
  void FailReads(bool fail) { failReads_.store(fail); }

  // Device side.
  IoStatus Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) {
    *got = 0;
    if (failReads_.load()) return IoStatus::Failed;
    std::lock_guard lock(mutex_);
    while (*got < capacity && toHostNext_ < toHost_.size()) buffer[(*got)++] = toHost_[toHostNext_++];
    if (toHostNext_ == toHost_.size()) {
      toHost_.clear();
      toHostNext_ = 0;
    }
    return *got ? IoStatus::Ok : IoStatus::NoData;
  }
  IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) {
    Bytes packet(bytes, bytes + length);
    std::lock_guard lock(mutex_);
    packets_.push_back(packet);
    if (responder_) {
      const Bytes answer = responder_(packet);
      toHost_.insert(toHost_.end(), answer.begin(), answer.end());
    }
    *written = length;
    return IoStatus::Ok;
  }

 private:
  mutable std::mutex mutex_;
  Responder responder_;
  Bytes toHost_;
  std::size_t toHostNext_ = 0;
  std::vector<Bytes> packets_;
  std::atomic<bool> failReads_{false};
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

 private:
  std::shared_ptr<FakeWire> wire_;
};

// An opener that hands out devices on the wire; counts and optionally refuses opens.
class FakeOpener {
 public:
  explicit FakeOpener(std::shared_ptr<FakeWire> wire) : wire_(std::move(wire)) {}
  std::unique_ptr<SerialDevice> Open(const std::string& portName) {
    {
      std::lock_guard lock(mutex_);
      if (link_) delays_.push_back(link_->RetryDelayMs());
      lastName_ = portName;
    }
    attempts_.fetch_add(1);
    if (refuse_.load()) return nullptr;
    return std::make_unique<FakeDevice>(wire_);
  }
  void Refuse(bool refuse) { refuse_.store(refuse); }
  int Attempts() const { return attempts_.load(); }
  std::vector<std::uint32_t> DelaysSeen() const {
    std::lock_guard lock(mutex_);
    return delays_;
  }
  std::string LastPortName() const {
    std::lock_guard lock(mutex_);
    return lastName_;
  }
  void WatchDelays(const EcmLink* link) { link_ = link; }

 private:
  std::shared_ptr<FakeWire> wire_;
  std::atomic<bool> refuse_{false};
  std::atomic<int> attempts_{0};
  const EcmLink* link_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<std::uint32_t> delays_;
  std::string lastName_;
};

// The communication thread's loop without the log duties.
class CommThread {
 public:
  explicit CommThread(EcmLink& link) : link_(link), thread_([this] { Run(); }) {}
  ~CommThread() {
    stop_.store(true);
    link_.RequestShutdown();  // ends a retry loop at once
    thread_.join();
  }
  CommThread(const CommThread&) = delete;
  CommThread& operator=(const CommThread&) = delete;

 private:
  void Run() {
    while (!stop_.load()) {
      if (link_.RequestPending()) link_.ServicePortRequest();
      Pump();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  void Pump() {
    while (link_.Connected() && !stop_.load()) {
      if (link_.WritePendingPacket() == IoStatus::Failed) return;
      if (link_.ServiceRxReset()) continue;
      std::uint8_t byte = 0;
      if (link_.ReadDeviceByte(&byte) != IoStatus::Ok) return;
      link_.StoreRxByte(byte);
    }
  }
  EcmLink& link_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

struct MessageLine {
  Rgb colour;
  std::string text;
  std::uint32_t tick;  // LinkTick when the line was written
};

class RecordingSink final : public MessageSink {
 public:
  explicit RecordingSink(const LinkTick* tick = nullptr) : tick_(tick) {}
  void AddLine(Rgb background, std::string_view text) override {
    std::lock_guard lock(mutex_);
    lines_.push_back({background, std::string(text), tick_ ? tick_->Now() : 0});
  }
  std::vector<MessageLine> Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }

 private:
  const LinkTick* tick_;
  mutable std::mutex mutex_;
  std::vector<MessageLine> lines_;
};

// An ECM that answers like the module: acknowledgements with echoes, calibration
// and bank reads filled with a pattern of the bank number.
class EcmBehaviour {
 public:
  static std::uint8_t PatternByte(std::uint8_t bank, std::size_t index) {
    return static_cast<std::uint8_t>(index * 7 + bank * 31 + 3);
  }
  Bytes Respond(const Bytes& packet) {
    if (packet.size() < 4) return {};
    if (packet[0] == 'R') {
      if (packet[1] == 'B' && packet.size() == 5) bank_ = packet[2];
      return {};
    }
    if (packet[0] != 'S') return {};
    return AnswerSl(packet[1], Bytes(packet.begin() + 2, packet.end() - 2));
  }

 private:
  Bytes AnswerSl(std::uint8_t command, const Bytes& data) {
    if (data.size() != 129) return MakeReply('N', AckPayload(command, bank_, 0, 0));
    switch (command) {
      case 0:
        bank_ = data[1];
        return MakeReply('A', AckPayload(0, bank_, 0, data[3]));
      case 1:
      case 3: {
        const std::size_t length = command == 1 ? 8192 : 32768;
        Bytes payload(length + 1);
        payload[0] = data[0];
        for (std::size_t i = 0; i < length; ++i) payload[i + 1] = PatternByte(data[0], i);
        return MakeReply(command == 1 ? 'C' : 'B', payload);
      }
      case 2:
      case 4: return MakeReply('A', AckPayload(command, bank_, 0, 0));
      case 7: return MakeReply('A', AckPayload(7, bank_, data[0], 0));
      default: return MakeReply('N', AckPayload(command, bank_, 0, 0));
    }
  }
  std::uint8_t bank_ = 0;
};

// A link on a fake wire whose communication duties the test thread does by hand.
struct ManualLink {
  explicit ManualLink(const LinkProfile& profile = MainProgramProfile())
      : wire(std::make_shared<FakeWire>()), opener(wire), link(profile), sink(&link.Tick()) {
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
  // Writes the pending packet; the last packet on the wire.
  Bytes Written() {
    link.WritePendingPacket();
    const std::vector<Bytes> packets = wire->Packets();
    return packets.empty() ? Bytes() : packets.back();
  }
  // Stores bytes into the receive ring as the communication thread would.
  void Feed(const Bytes& bytes) {
    for (std::uint8_t b : bytes) link.StoreRxByte(b);
  }
  // Runs `call` as the user-interface thread would while this thread does the
  // communication thread's writes and ring resets, until the call returns.
  void WhileServed(const std::function<void()>& call) {
    std::atomic<bool> done{false};
    std::thread ui([&] {
      call();
      done.store(true);
    });
    while (!done.load()) {
      link.WritePendingPacket();
      link.ServiceRxReset();
      std::this_thread::yield();
    }
    ui.join();
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const MessageLine& line : sink.Lines()) texts.push_back(line.text);
    return texts;
  }

  std::shared_ptr<FakeWire> wire;
  FakeOpener opener;
  EcmLink link;
  RecordingSink sink;
};

// A connected link on a fake wire with a running communication thread.
class TestEcm {
 public:
  explicit TestEcm(const LinkProfile& profile = MainProgramProfile())
      : wire_(std::make_shared<FakeWire>()),
        behaviour_(std::make_shared<EcmBehaviour>()),
        link_(profile),
        sink_(&link_.Tick()),
        opener_(wire_) {
    wire_->SetResponder([behaviour = behaviour_](const Bytes& packet) { return behaviour->Respond(packet); });
    link_.SetMessageSink(&sink_);
    link_.SetDeviceOpener([this](const std::string& name) { return opener_.Open(name); });
    comm_ = std::make_unique<CommThread>(link_);
  }
  ~TestEcm() { comm_.reset(); }

  EcmLink& Link() { return link_; }
  FakeWire& Wire() { return *wire_; }
  RecordingSink& Sink() { return sink_; }
  // Replaces the module's answers (an empty result means silence).
  void SetResponder(FakeWire::Responder responder) { wire_->SetResponder(std::move(responder)); }
  // Opens the port and waits until the link pumps (and the stream request is written).
  void Connect() {
    const std::string port = "COM3";
    link_.RequestPort(PortOpen, &port);
    WaitFor([this] { return link_.Connected() && !link_.TxPending(); });
    if (link_.Profile().streamAfterOpen) WaitFor([this] { return wire_->PacketCount() >= 1; });
  }
  // The last packet the host wrote once `count` packets have been written.
  Bytes WaitPacket(std::size_t count) {
    WaitFor([this, count] { return wire_->PacketCount() >= count; });
    const std::vector<Bytes> packets = wire_->Packets();
    return packets.size() >= count ? packets[count - 1] : Bytes();
  }

 private:
  std::shared_ptr<FakeWire> wire_;
  std::shared_ptr<EcmBehaviour> behaviour_;
  EcmLink link_;
  RecordingSink sink_;
  FakeOpener opener_;
  std::unique_ptr<CommThread> comm_;
};

}  // namespace vantor::test
