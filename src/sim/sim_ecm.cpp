#include "sim/sim_ecm.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

#include "cal/cal_image.h"
#include "link/crc16.h"
#include "live/live_frame.h"
#include "sim/default_calibration.h"
#include "sim/engine_model.h"
#include "sim/replay_source.h"

namespace vantor::sim {
namespace {

constexpr std::uint8_t kStreamStopArg = 0;
constexpr std::size_t kAckPayload = 12;
constexpr std::size_t kCalibrationBytes = 8192;
constexpr std::int64_t kMissedFrameLimitMicros = 1000000;
constexpr std::size_t kReceivedPacketLimit = 4096;

enum SlCommand : std::uint8_t { kInfo = 0, kRequestCal = 1, kErase = 2, kRequestBin = 3, kStop = 4, kPgmPage = 7 };

}  // namespace

SimEcm::SimEcm(SimOptions options)
    : options_(std::move(options)),
      clock_(options_.clock ? options_.clock : std::make_shared<SteadySimClock>()),
      line_(options_.paced) {
  for (int bank = 0; bank < kBankCount; ++bank) {
    const auto image = DefaultBankImage(bank);
    flash_.LoadBank(bank, image.data(), image.size());
  }
  auto engine = std::make_unique<EngineModel>(options_.cylinders);
  // Frames are built under the simulator's lock, so the flash can be read here.
  engine->SetCalibrationVe([this](double rpm, double mapKpa) { return RunningVeCell(rpm, mapKpa); });
  frames_ = std::move(engine);
}

int SimEcm::RunningVeCell(double rpm, double mapKpa) const {
  const auto nearest = [](const auto& axis, double value) {
    int best = 0;
    for (int i = 1; i < static_cast<int>(axis.size()); ++i)
      if (std::abs(axis[i] - value) < std::abs(axis[best] - value)) best = i;
    return best + 1;
  };
  const std::uint8_t* bank = flash_.Bank(runningBank_);
  return bank[VeReadOffset(nearest(kVeRpmAxis, rpm), nearest(kVeMapAxis, mapKpa))];
}

// ---- the serial line ----

void SimEcm::Receive(const std::uint8_t* bytes, std::size_t n) {
  {
    std::lock_guard lock(mutex_);
    if (!plugged_) return;
    const std::int64_t now = clock_->NowMicros();
    for (std::size_t i = 0; i < n; ++i)
      for (const HostPacket& packet : parser_.Feed(bytes[i], now)) Handle(packet, now);
  }
  lineChanged_.notify_all();
}

std::size_t SimEcm::Transmit(std::uint8_t* out, std::size_t capacity) {
  std::lock_guard lock(mutex_);
  if (!plugged_) return 0;
  const std::int64_t now = clock_->NowMicros();
  QueueFrames(now);
  return line_.Take(out, capacity, now);
}

std::int64_t SimEcm::BatchDueAt(std::int64_t now) {
  QueueFrames(now);
  std::int64_t due = line_.BatchDue(kReceiveBatch);
  if (streaming_) {
    // The next frame is not queued before its time; its first batch is due after it.
    const std::int64_t frameDue = nextFrameAt_ + line_.LineMicros(std::min<std::size_t>(kReceiveBatch, kLogFrameSize));
    if (due < 0 || frameDue < due) due = frameDue;
  }
  return due;
}

std::int64_t SimEcm::BatchDueIn() {
  std::lock_guard lock(mutex_);
  if (!plugged_) return -1;
  const std::int64_t now = clock_->NowMicros();
  const std::int64_t due = BatchDueAt(now);
  return due < 0 ? -1 : std::max<std::int64_t>(due - now, 0);
}

void SimEcm::AwaitBatch(std::chrono::milliseconds bound, const std::function<bool()>& interrupted) {
  using Clock = std::chrono::steady_clock;
  const auto limit = Clock::now() + bound;
  std::unique_lock lock(mutex_);
  while (plugged_ && !interrupted()) {
    const std::int64_t now = clock_->NowMicros();
    const std::int64_t due = BatchDueAt(now);
    if (due >= 0 && due <= now) return;
    const auto wake = Clock::now();
    if (wake >= limit) return;
    const auto until = due < 0 ? limit : std::min(limit, wake + std::chrono::microseconds(due - now));
    lineChanged_.wait_until(lock, until);
  }
}

void SimEcm::WakeWaiters() {
  { std::lock_guard lock(mutex_); }  // a waiter is either asleep or yet to ask
  lineChanged_.notify_all();
}

// ---- packets ----

void SimEcm::Handle(const HostPacket& packet, std::int64_t now) {
  if (received_.size() < kReceivedPacketLimit)
    received_.push_back({packet.form, packet.command, packet.payload.empty() ? std::uint8_t{0} : packet.payload[0], packet.checkOk});
  if (packet.form == 'R') {
    HandleMs(packet, now);
  } else {
    HandleSl(packet, now);
  }
}

void SimEcm::HandleMs(const HostPacket& packet, std::int64_t now) {
  if (!packet.checkOk) return;  // "R" packets are never answered
  const std::uint8_t arg = packet.payload[0];
  switch (packet.command) {
    case 'X':
      if (arg == kStreamStopArg) {
        StopStream();
      } else if (!streaming_) {
        streaming_ = true;
        nextFrameAt_ = now;
      }
      break;
    case 'B':
      runningBank_ = arg & 7;
      break;
    case 'F':
      flashMode_ = true;
      StopStream();
      break;
    default:
      break;
  }
}

void SimEcm::StopStream() {
  if (faults_.ignoreStop) return;
  streaming_ = false;
  line_.DropUnstartedFrames();
}

void SimEcm::HandleSl(const HostPacket& packet, std::int64_t now) {
  const std::uint8_t command = packet.command;
  const std::uint8_t* data = packet.payload.data();
  const bool refused = !flashMode_ || !packet.checkOk || static_cast<int>(command) == faults_.refuseCommand;
  if (refused) return QueueAck('N', command, 0, 0, now);
  switch (command) {
    case kInfo:
      selectedBank_ = data[1] & 7;
      return QueueAck('A', command, 0, data[3], now);
    case kRequestCal:
    case kRequestBin: {
      if (!ValidBank(data[0])) return QueueAck('N', command, 0, 0, now);
      const std::size_t size = command == kRequestCal ? kCalibrationBytes : kBankSize;
      std::vector<std::uint8_t> payload{data[0]};
      const std::uint8_t* bank = flash_.Bank(data[0]);
      payload.insert(payload.end(), bank, bank + size);
      return QueueReply(command == kRequestCal ? 'C' : 'B', payload, now);
    }
    case kErase:
      return QueueAck(flash_.EraseSector(data[0]) ? 'A' : 'N', command, 0, 0, now);
    case kStop:
      flashMode_ = false;
      return QueueAck('A', command, 0, 0, now);
    case kPgmPage:
      return QueueAck(flash_.ProgramPage(selectedBank_, data[0], data + 1) ? 'A' : 'N', command, data[0], 0, now);
    default:
      return QueueAck('N', command, 0, 0, now);
  }
}

void SimEcm::QueueAck(std::uint8_t type, std::uint8_t command, std::uint8_t page, std::uint8_t infoEcho,
                      std::int64_t now) {
  std::vector<std::uint8_t> payload(kAckPayload, 0);
  payload[0] = command;
  payload[1] = static_cast<std::uint8_t>(selectedBank_);
  payload[2] = page;
  payload[4] = infoEcho;
  QueueReply(type, payload, now);
}

void SimEcm::QueueReply(std::uint8_t type, const std::vector<std::uint8_t>& payload, std::int64_t now) {
  std::vector<std::uint8_t> reply{'S', type};
  reply.insert(reply.end(), payload.begin(), payload.end());
  const std::uint16_t check = Crc16Prefixed('S', type, payload.data(), payload.size());
  reply.push_back(static_cast<std::uint8_t>(check >> 8));
  reply.push_back(static_cast<std::uint8_t>(check));
  QueueOutput(std::move(reply), now + faults_.replyDelayMicros, false);
}

// ---- frames ----

void SimEcm::QueueFrames(std::int64_t now) {
  if (!streaming_) return;
  const auto interval = static_cast<std::int64_t>(std::llround(1e6 / options_.framesPerSecond));
  // Frames sent while nobody listened are gone; do not build them all now.
  if (nextFrameAt_ < now - kMissedFrameLimitMicros)
    nextFrameAt_ += (now - kMissedFrameLimitMicros - nextFrameAt_) / interval * interval;
  while (nextFrameAt_ <= now) {
    QueueOutput(BuildFrame(), nextFrameAt_, true);
    nextFrameAt_ += interval;
  }
}

std::vector<std::uint8_t> SimEcm::BuildFrame() {
  std::vector<std::uint8_t> frame(kLogFrameSize);
  frame[0] = 0x55;
  frame[1] = 0xAA;
  std::uint8_t* data = frame.data() + 2;
  frames_->NextFrame(data);
  if (frames_->ReportsRunningBank()) data[frame::kBankInfo] = static_cast<std::uint8_t>(0x80 | runningBank_);
  std::uint16_t check = Crc16Prefixed(0x55, 0xAA, data, kFrameDataSize);
  if (faults_.badCheckFrames > 0) {
    --faults_.badCheckFrames;
    check ^= 0x00FF;
  }
  frame[kLogFrameSize - 2] = static_cast<std::uint8_t>(check >> 8);
  frame[kLogFrameSize - 1] = static_cast<std::uint8_t>(check);
  ++framesQueued_;
  return frame;
}

void SimEcm::QueueOutput(std::vector<std::uint8_t> bytes, std::int64_t readyAt, bool isFrame) {
  const auto inRange = [&](int index) { return index >= 0 && static_cast<std::size_t>(index) < bytes.size(); };
  if (inRange(faults_.corruptByteOfNextOutput)) bytes[static_cast<std::size_t>(faults_.corruptByteOfNextOutput)] ^= 0xFF;
  if (inRange(faults_.dropByteOfNextOutput)) bytes.erase(bytes.begin() + faults_.dropByteOfNextOutput);
  faults_.corruptByteOfNextOutput = -1;
  faults_.dropByteOfNextOutput = -1;
  line_.Queue(std::move(bytes), readyAt, isFrame);
}

// ---- cable ----

void SimEcm::Unplug() {
  {
    std::lock_guard lock(mutex_);
    plugged_ = false;
    line_.Clear();
  }
  lineChanged_.notify_all();
}

void SimEcm::Replug() {
  {
    std::lock_guard lock(mutex_);
    if (plugged_) return;
    plugged_ = true;
    ++plugGeneration_;
  }
  lineChanged_.notify_all();
}

bool SimEcm::Plugged() const { return Locked([this] { return plugged_; }); }

std::uint64_t SimEcm::PlugGeneration() const { return Locked([this] { return plugGeneration_; }); }

// ---- state ----

bool SimEcm::Streaming() const { return Locked([this] { return streaming_; }); }

bool SimEcm::FlashMode() const { return Locked([this] { return flashMode_; }); }

int SimEcm::RunningBank() const { return Locked([this] { return runningBank_; }); }

int SimEcm::SelectedBank() const { return Locked([this] { return selectedBank_; }); }

std::uint64_t SimEcm::FramesQueued() const { return Locked([this] { return framesQueued_; }); }

std::vector<ReceivedPacket> SimEcm::ReceivedPackets() const { return Locked([this] { return received_; }); }

// ---- flash ----

bool SimEcm::LoadBank(int bank, const std::vector<std::uint8_t>& image) {
  std::lock_guard lock(mutex_);
  return flash_.LoadBank(bank, image.data(), image.size());
}

bool SimEcm::LoadBankFile(int bank, const std::string& path, std::string* error) {
  if (!ValidBank(bank)) {
    *error = "bank must be 0 to 7";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *error = "can not open " + path;
    return false;
  }
  std::vector<std::uint8_t> image((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (image.size() != kBankSize) {
    *error = path + " is not a 32768-byte bank image";
    return false;
  }
  return LoadBank(bank, image);
}

std::vector<std::uint8_t> SimEcm::Bank(int bank) const {
  std::lock_guard lock(mutex_);
  return ValidBank(bank) ? flash_.CopyBank(bank) : std::vector<std::uint8_t>();
}

bool SimEcm::Replay(const std::string& logPath, std::string* error) {
  auto replay = std::make_unique<ReplaySource>();
  if (!replay->Load(logPath, error)) return false;
  std::lock_guard lock(mutex_);
  frames_ = std::move(replay);
  return true;
}

// ---- faults ----

void SimEcm::SetFaults(const SimFaults& faults) {
  {
    std::lock_guard lock(mutex_);
    faults_ = faults;
  }
  lineChanged_.notify_all();
}

SimFaults SimEcm::Faults() const { return Locked([this] { return faults_; }); }

}  // namespace vantor::sim
