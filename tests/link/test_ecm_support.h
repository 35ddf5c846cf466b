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

#include "link/ecm_link.h"

namespace vantor::test {

using Bytes = std::vector<std::uint8_t>;

// Polls pred until it holds or about ten seconds pass.
bool WaitFor(const std::function<bool()>& pred,
             std::chrono::milliseconds bound = std::chrono::milliseconds(10000));

// 'S', type, payload, Crc16Prefixed high and low.
Bytes MakeReply(std::uint8_t type, const Bytes& payload);
// A 12-byte 'A' or 'N' payload with the echo fields set.
Bytes AckPayload(std::uint8_t command, std::uint8_t bank, std::uint8_t page, std::uint8_t infoEcho);

// The link side of the wire, shared by the fake device and the test.
class FakeWire {
 public:
  // Called with each packet the host writes; returns the bytes the ECM sends back.
  using Responder = std::function<Bytes(const Bytes& packet)>;

  void SetResponder(Responder responder);
  void SendToHost(const Bytes& bytes);
  std::vector<Bytes> Packets() const;
  std::size_t PacketCount() const;
  void ClearPackets();
  void FailReads(bool fail) { failReads_.store(fail); }

  // Device side.
  IoStatus Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got);
  IoStatus Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written);

 private:
  mutable std::mutex mutex_;
  Responder responder_;
  Bytes toHost_;
  std::size_t toHostNext_ = 0;
  std::vector<Bytes> packets_;
  std::atomic<bool> failReads_{false};
};

// An opener that hands out devices on the wire; counts and optionally refuses opens.
class FakeOpener {
 public:
  explicit FakeOpener(std::shared_ptr<FakeWire> wire) : wire_(std::move(wire)) {}
  std::unique_ptr<SerialDevice> Open(const std::string& portName);
  void Refuse(bool refuse) { refuse_.store(refuse); }
  int Attempts() const { return attempts_.load(); }
  std::vector<std::uint32_t> DelaysSeen() const;
  std::string LastPortName() const;
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
  explicit CommThread(EcmLink& link);
  ~CommThread();
  CommThread(const CommThread&) = delete;
  CommThread& operator=(const CommThread&) = delete;

 private:
  void Run();
  void Pump();
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
  void AddLine(Rgb background, std::string_view text) override;
  std::vector<MessageLine> Lines() const;

 private:
  const LinkTick* tick_;
  mutable std::mutex mutex_;
  std::vector<MessageLine> lines_;
};

// An ECM that answers like the module: acknowledgements with echoes, calibration
// and bank reads filled with a pattern of the bank number.
class EcmBehaviour {
 public:
  Bytes Respond(const Bytes& packet);
  static std::uint8_t PatternByte(std::uint8_t bank, std::size_t index);

 private:
  Bytes AnswerSl(std::uint8_t command, const Bytes& data);
  std::uint8_t bank_ = 0;
};

// A link on a fake wire whose communication duties the test thread does by hand.
struct ManualLink {
  explicit ManualLink(const LinkProfile& profile = MainProgramProfile());
  // Opens the port as the communication thread would and writes the stream request.
  void Open();
  // Writes the pending packet; the last packet on the wire.
  Bytes Written();
  // Stores bytes into the receive ring as the communication thread would.
  void Feed(const Bytes& bytes);
  std::vector<std::string> Messages() const;

  std::shared_ptr<FakeWire> wire;
  FakeOpener opener;
  EcmLink link;
  RecordingSink sink;
};

// A connected link on a fake wire with a running communication thread.
class TestEcm {
 public:
  explicit TestEcm(const LinkProfile& profile = MainProgramProfile());
  ~TestEcm();

  EcmLink& Link() { return link_; }
  FakeWire& Wire() { return *wire_; }
  RecordingSink& Sink() { return sink_; }
  // Replaces the module's answers (an empty result means silence).
  void SetResponder(FakeWire::Responder responder) { wire_->SetResponder(std::move(responder)); }
  // Opens the port and waits until the link pumps (and the stream request is written).
  void Connect();
  // The last packet the host wrote once `count` packets have been written.
  Bytes WaitPacket(std::size_t count);

 private:
  std::shared_ptr<FakeWire> wire_;
  std::shared_ptr<EcmBehaviour> behaviour_;
  EcmLink link_;
  RecordingSink sink_;
  FakeOpener opener_;
  std::unique_ptr<CommThread> comm_;
};

}  // namespace vantor::test
