#include "test_ecm_support.h"

#include "link/crc16.h"
#include "link/link_profile.h"

namespace vantor::test {

using namespace std::chrono_literals;

bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!pred()) {
    if (std::chrono::steady_clock::now() > deadline) return pred();
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

Bytes MakeReply(std::uint8_t type, const Bytes& payload) {
  Bytes reply{0x53, type};
  reply.insert(reply.end(), payload.begin(), payload.end());
  const std::uint16_t crc = Crc16Prefixed(0x53, type, payload.data(), payload.size());
  reply.push_back(static_cast<std::uint8_t>(crc >> 8));
  reply.push_back(static_cast<std::uint8_t>(crc & 0xFF));
  return reply;
}

Bytes AckPayload(std::uint8_t command, std::uint8_t bank, std::uint8_t page, std::uint8_t infoEcho) {
  Bytes payload(12, 0);
  payload[0] = command;
  payload[1] = bank;
  payload[2] = page;
  payload[4] = infoEcho;
  return payload;
}

// ---- FakeWire ----

void FakeWire::SetResponder(Responder responder) {
  std::lock_guard lock(mutex_);
  responder_ = std::move(responder);
}

void FakeWire::SendToHost(const Bytes& bytes) {
  std::lock_guard lock(mutex_);
  toHost_.insert(toHost_.end(), bytes.begin(), bytes.end());
}

std::vector<Bytes> FakeWire::Packets() const {
  std::lock_guard lock(mutex_);
  return packets_;
}

std::size_t FakeWire::PacketCount() const {
  std::lock_guard lock(mutex_);
  return packets_.size();
}

void FakeWire::ClearPackets() {
  std::lock_guard lock(mutex_);
  packets_.clear();
}

IoStatus FakeWire::Read(std::uint8_t* buffer, std::size_t capacity, std::size_t* got) {
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

IoStatus FakeWire::Write(const std::uint8_t* bytes, std::size_t length, std::size_t* written) {
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

// ---- FakeOpener ----

namespace {

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

}  // namespace

std::unique_ptr<SerialDevice> FakeOpener::Open(const std::string& portName) {
  {
    std::lock_guard lock(mutex_);
    if (link_) delays_.push_back(link_->RetryDelayMs());
    lastName_ = portName;
  }
  attempts_.fetch_add(1);
  if (refuse_.load()) return nullptr;
  return std::make_unique<FakeDevice>(wire_);
}

std::vector<std::uint32_t> FakeOpener::DelaysSeen() const {
  std::lock_guard lock(mutex_);
  return delays_;
}

std::string FakeOpener::LastPortName() const {
  std::lock_guard lock(mutex_);
  return lastName_;
}

// ---- CommThread ----

CommThread::CommThread(EcmLink& link) : link_(link), thread_([this] { Run(); }) {}

CommThread::~CommThread() {
  stop_.store(true);
  link_.RequestShutdown();  // ends a retry loop at once
  thread_.join();
}

void CommThread::Run() {
  while (!stop_.load()) {
    if (link_.RequestPending()) link_.ServicePortRequest();
    Pump();
    std::this_thread::sleep_for(1ms);
  }
}

void CommThread::Pump() {
  while (link_.Connected() && !stop_.load()) {
    if (link_.WritePendingPacket() == IoStatus::Failed) return;
    if (link_.ServiceRxReset()) continue;
    std::uint8_t byte = 0;
    if (link_.ReadDeviceByte(&byte) != IoStatus::Ok) return;
    link_.StoreRxByte(byte);
  }
}

// ---- RecordingSink ----

void RecordingSink::AddLine(Rgb background, std::string_view text) {
  std::lock_guard lock(mutex_);
  lines_.push_back({background, std::string(text), tick_ ? tick_->Now() : 0});
}

std::vector<MessageLine> RecordingSink::Lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

// ---- EcmBehaviour ----

std::uint8_t EcmBehaviour::PatternByte(std::uint8_t bank, std::size_t index) {
  return static_cast<std::uint8_t>(index * 7 + bank * 31 + 3);
}

Bytes EcmBehaviour::Respond(const Bytes& packet) {
  if (packet.size() < 4) return {};
  if (packet[0] == 'R') {
    if (packet[1] == 'B' && packet.size() == 5) bank_ = packet[2];
    return {};
  }
  if (packet[0] != 'S') return {};
  return AnswerSl(packet[1], Bytes(packet.begin() + 2, packet.end() - 2));
}

Bytes EcmBehaviour::AnswerSl(std::uint8_t command, const Bytes& data) {
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

// ---- ManualLink ----

ManualLink::ManualLink(const LinkProfile& profile)
    : wire(std::make_shared<FakeWire>()), opener(wire), link(profile), sink(&link.Tick()) {
  link.SetDeviceOpener([this](const std::string& name) { return opener.Open(name); });
  link.SetMessageSink(&sink);
}

void ManualLink::Open() {
  const std::string port = "COM2";
  link.RequestPort(PortOpen, &port);
  link.ServicePortRequest();
  link.WritePendingPacket();  // the stream request of the main program
}

Bytes ManualLink::Written() {
  link.WritePendingPacket();
  const std::vector<Bytes> packets = wire->Packets();
  return packets.empty() ? Bytes() : packets.back();
}

void ManualLink::Feed(const Bytes& bytes) {
  for (std::uint8_t b : bytes) link.StoreRxByte(b);
}

std::vector<std::string> ManualLink::Messages() const {
  std::vector<std::string> texts;
  for (const MessageLine& line : sink.Lines()) texts.push_back(line.text);
  return texts;
}

// ---- TestEcm ----

TestEcm::TestEcm(const LinkProfile& profile)
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

TestEcm::~TestEcm() { comm_.reset(); }

void TestEcm::Connect() {
  const std::string port = "COM3";
  link_.RequestPort(PortOpen, &port);
  WaitFor([this] { return link_.Connected() && !link_.TxPending(); });
  if (link_.Profile().streamAfterOpen) WaitFor([this] { return wire_->PacketCount() >= 1; });
}

Bytes TestEcm::WaitPacket(std::size_t count) {
  WaitFor([this, count] { return wire_->PacketCount() >= count; });
  const std::vector<Bytes> packets = wire_->Packets();
  return packets.size() >= count ? packets[count - 1] : Bytes();
}

}  // namespace vantor::test
