#include "link/ecm_link.h"

#include <algorithm>
#include <cstring>

#include "link/commands.h"

namespace vantor {
namespace {

// txPending while a submitter copies its packet into the slot.
constexpr std::uint32_t kTxClaimed = 0xFFFFFFFFu;
// The most read from the device at once: more than a driver's input queue.
constexpr std::size_t kDeviceBatch = 8192;

}  // namespace

EcmLink::EcmLink(const LinkProfile& profile)
    : profile_(profile),
      opener_(OpenPlatformSerial),
      batch_(new std::uint8_t[kDeviceBatch]),
      ring_(new std::uint8_t[profile.ringSize]()),
      ringSize_(profile.ringSize) {}

EcmLink::~EcmLink() {
  RequestShutdown();
  ReplaceDevice(nullptr);
}

void EcmLink::SetDeviceOpener(SerialOpener opener) { opener_ = std::move(opener); }

void EcmLink::SetStatusHook(std::function<void(bool)> hook) { statusHook_ = std::move(hook); }

void EcmLink::SetSelectPolicy(std::function<bool()> portHeldElsewhere, std::function<void()> remember) {
  portHeldElsewhere_ = std::move(portHeldElsewhere);
  rememberPort_ = std::move(remember);
}

std::string EcmLink::RequestedPortName() const {
  std::lock_guard lock(nameMutex_);
  return requestedPortName_;
}

int EcmLink::RequestPort(PortRequest mode, const std::string* portName) {
  if (mode != PortOpen && HandleValid()) {
    TxMsXmit(*this, kStreamStop);
    Sleep(std::chrono::milliseconds(100));
  }
  connected_.store(0, std::memory_order_release);
  changed_.Ring();
  {
    std::lock_guard lock(nameMutex_);
    requestedPortName_ = portName ? *portName : std::string();
  }
  {
    // Counted with its mode in one step, so its service knows which request it serves.
    std::lock_guard lock(outcomeMutex_);
    ++requestsPosted_;
    requestedMode_.store(mode, std::memory_order_release);
    requestPending_.store(1, std::memory_order_release);
  }
  WakeCommThread();
  return 0;
}

void EcmLink::SelectPort(const std::string& portName) {
  if (!(portHeldElsewhere_ && portHeldElsewhere_())) {
    ShowPortStatus(false);
    RequestPort(PortReopen, &portName);
    portReleased_.store(0, std::memory_order_release);
  }
  if (rememberPort_) rememberPort_();
}

void EcmLink::ReleasePort() {
  RequestPort(PortClose, nullptr);
  portReleased_.store(1, std::memory_order_release);
}

void EcmLink::ShowPortStatus(bool open) {
  portIsOpen_.store(open ? 1 : 0, std::memory_order_release);
  if (statusHook_) statusHook_(open);
}

void EcmLink::ServicePortRequest() {
  // Taken at the start, so a request posted while this one is serviced
  // (possibly for a long time in the retry loop) is not lost.
  std::uint64_t serviced;
  std::uint32_t mode;
  {
    std::lock_guard lock(outcomeMutex_);
    requestPending_.store(0, std::memory_order_release);
    serviced = requestsPosted_;
    mode = requestedMode_.load(std::memory_order_acquire);
  }
  if (mode == PortClose) {
    ClosePort();
    PublishOpenOutcome(serviced, OpenOutcome::Failed);
    return;
  }
  if (mode == PortReopen) {
    ClosePort();
    // A request posted during the close keeps its mode for the next turn.
    std::uint32_t reopen = PortReopen;
    requestedMode_.compare_exchange_strong(reopen, PortOpen, std::memory_order_acq_rel);
    mode = PortOpen;
  }
  if (mode != PortOpen) return;
  if (!OpenPort()) {
    PublishOpenOutcome(serviced, OpenOutcome::Failed);
    retryDelayMs_.store(kInitialRetryDelayMs);
    ReopenPortUntilOpen();
  }
  // A newer request supersedes this one before any byte is pumped.
  if (RequestPending() || ShutdownRequested()) return;
  connected_.store(1, std::memory_order_release);
  if (profile_.streamAfterOpen) {
    TxMsXmit(*this, kStreamStart);
    WritePendingPacket();  // the slot is free for the first command of whoever waits
  }
  PublishOpenOutcome(serviced, OpenOutcome::Connected);
}

void EcmLink::PublishOpenOutcome(std::uint64_t serviced, OpenOutcome outcome) {
  {
    std::lock_guard lock(outcomeMutex_);
    if (serviced < requestsServiced_) return;  // a late word on a request already answered
    requestsServiced_ = serviced;
    lastOutcome_ = outcome;
  }
  outcomeKnown_.notify_all();
}

OpenOutcome EcmLink::AwaitOpenAttempt() {
  std::unique_lock lock(outcomeMutex_);
  const std::uint64_t awaited = requestsPosted_;
  outcomeKnown_.wait(lock, [&] { return requestsServiced_ >= awaited || ShutdownRequested(); });
  return requestsServiced_ >= awaited ? lastOutcome_ : OpenOutcome::ShutDown;
}

void EcmLink::ReplaceDevice(std::unique_ptr<SerialDevice> device) {
  batchNext_ = batchFill_ = 0;  // what the old device gave is gone with it
  {
    std::lock_guard lock(deviceMutex_);
    device_ = std::move(device);  // the old one is closed here
  }
  handleValid_.store(device_ != nullptr, std::memory_order_release);
  changed_.Ring();
}

bool EcmLink::OpenPort() {
  if (device_) {
    ClosePort();
    Sleep(std::chrono::milliseconds(125));
  }
  ReplaceDevice(opener_ ? opener_(RequestedPortName()) : nullptr);
  if (!device_) return false;
  if (!device_->ClearEventMask()) return false;
  device_->SetNonBlockingReads();  // advisory, as the result is on every platform
  if (!device_->ConfigureLine()) return false;
  if (!device_->SetQueueSizes(profile_.inputQueueBytes, profile_.outputQueueBytes)) return false;
  ShowPortStatus(true);
  return true;
}

void EcmLink::ClosePort() {
  if (device_) ReplaceDevice(nullptr);
  ShowPortStatus(false);
}

std::uint32_t EcmLink::NextRetryDelay(std::uint32_t delay) const {
  const std::uint32_t doubled = delay * 2;
  if (profile_.backoff == ReopenBackoff::CapAt5000) return std::min<std::uint32_t>(doubled, 5000);
  return doubled > 8000 ? kInitialRetryDelayMs : doubled;
}

void EcmLink::ReopenPortUntilOpen() {
  if (device_) ReplaceDevice(nullptr);
  Sleep(std::chrono::milliseconds(125));
  do {
    if (ShutdownRequested()) return;
    if (OpenPort()) return;
    const std::uint32_t delay = NextRetryDelay(retryDelayMs_.load());
    retryDelayMs_.store(delay);
    if (RequestPending())
      Sleep(std::chrono::milliseconds(delay));
    else if (BackOffUntilRequest(std::chrono::milliseconds(delay)))
      retryDelayMs_.store(kInitialRetryDelayMs);  // the port just chosen starts a back-off of its own
  } while (!HandleValid());
}

// A port chosen while another keeps refusing is tried at once, not after up
// to 8 s of the other's back-off (an update started meanwhile would fail).
bool EcmLink::BackOffUntilRequest(std::chrono::milliseconds duration) {
  const auto deadline = WakeSignal::Clock::now() + duration;
  for (;;) {
    const std::uint64_t seen = commWake_.Count();  // noted before looking: no ring is lost
    if (ShutdownRequested()) return false;
    if (RequestPending()) return true;
    if (!commWake_.WaitAfter(seen, deadline)) return false;
  }
}

IoStatus EcmLink::WritePendingPacket() {
  const std::uint32_t length = txPending_.load(std::memory_order_acquire);
  if (length == 0 || length == kTxClaimed) return IoStatus::NoData;
  std::size_t written = 0;
  const IoStatus status = device_ ? device_->Write(txBuffer_, length, &written) : IoStatus::Failed;
  txPending_.store(0, std::memory_order_release);
  if (status == IoStatus::Failed) {
    PostReopen();
    return IoStatus::Failed;
  }
  return IoStatus::Ok;
}

bool EcmLink::ServiceRxReset() {
  if (!rxResetRequested_.load(std::memory_order_acquire)) return false;
  const std::uint64_t generation = (rxDiscard_.load(std::memory_order_relaxed) >> 32) + 1;
  rxDiscard_.store(generation << 32 | rxWrite_, std::memory_order_release);
  rxResetRequested_.store(0, std::memory_order_release);
  changed_.Ring();
  return true;
}

std::uint32_t EcmLink::TailFor(std::uint64_t discard) const {
  const auto generation = static_cast<std::uint32_t>(discard >> 32);
  if (generation != rxDiscardApplied_.load(std::memory_order_acquire)) return static_cast<std::uint32_t>(discard);
  return rxTail_.load(std::memory_order_acquire);
}

IoStatus EcmLink::ReadDeviceByte(std::uint8_t* byte) {
  if (batchNext_ == batchFill_) {
    AnnounceArrival();
    std::size_t got = 0;
    const IoStatus status = device_ ? device_->Read(batch_.get(), kDeviceBatch, &got) : IoStatus::Failed;
    if (status == IoStatus::Failed) {
      PostReopen();
      return IoStatus::Failed;
    }
    batchNext_ = 0;
    batchFill_ = got;
    if (got == 0) return IoStatus::NoData;
  }
  *byte = batch_[batchNext_++];
  return IoStatus::Ok;
}

void EcmLink::AwaitDeviceInput(std::chrono::milliseconds bound) {
  if (device_) {
    device_->WaitReadable(bound);
  } else {
    Sleep(bound);
  }
}

void EcmLink::AwaitRequest(std::uint64_t seen) {
  if (!RequestPending() && !ShutdownRequested()) commWake_.WaitAfter(seen);
}

void EcmLink::WakeCommThread() {
  commWake_.Ring();
  std::lock_guard lock(deviceMutex_);
  if (device_) device_->Interrupt();
}

void EcmLink::AnnounceArrival() { arrivals_.Announce(RxAvailable()); }

void EcmLink::WatchArrival(WakeSignal& bell, std::uint32_t count) { arrivals_.Watch(bell, count); }

void EcmLink::EndArrivalWatch(const WakeSignal& bell) { arrivals_.End(bell); }

void EcmLink::AwaitBytes(std::uint32_t count, std::uint64_t seen) {
  WatchArrival(changed_, count);
  if (RxAvailable() < count) changed_.WaitAfter(seen);
  EndArrivalWatch(changed_);
}

template <typename Done>
bool EcmLink::AwaitChange(std::chrono::milliseconds bound, Done done) {
  const auto deadline = WakeSignal::Clock::now() + bound;
  for (;;) {
    const std::uint64_t seen = changed_.Count();
    if (done()) return true;
    if (!changed_.WaitAfter(seen, deadline)) return done();
  }
}

bool EcmLink::AwaitRxReset(std::chrono::milliseconds bound) {
  return AwaitChange(bound, [this] { return !RxResetPending() || !Connected() || ShutdownRequested(); });
}

bool EcmLink::AwaitClosed(std::chrono::milliseconds bound) {
  return AwaitChange(bound, [this] { return !HandleValid(); });
}

void EcmLink::StoreRxByte(std::uint8_t byte) {
  std::uint32_t next = rxWrite_ + 1;
  if (next == ringSize_) next = 0;
  if (next == TailFor(rxDiscard_.load(std::memory_order_acquire))) return;  // full: one slot stays free
  ring_[next] = byte;
  rxWrite_ = next;
  rxHead_.store(next, std::memory_order_release);  // publish after the byte is stored
}

void EcmLink::PostReopen() {
  // Nothing is accepted for a device that has gone; the reopen connects again.
  connected_.store(0, std::memory_order_release);
  changed_.Ring();
  // While pumping the mode is PortOpen; any other value is a request the
  // user-interface thread posted meanwhile (a close, say), which must win.
  std::uint32_t serviced = PortOpen;
  requestedMode_.compare_exchange_strong(serviced, PortReopen, std::memory_order_acq_rel);
  requestPending_.store(1, std::memory_order_release);
}

std::uint32_t EcmLink::RxAvailable() const {
  const std::uint32_t tail = TailFor(rxDiscard_.load(std::memory_order_acquire));
  const std::int64_t diff = static_cast<std::int64_t>(rxHead_.load(std::memory_order_acquire)) -
                            static_cast<std::int64_t>(tail);
  return static_cast<std::uint32_t>(diff < 0 ? diff + ringSize_ : diff);
}

int EcmLink::RxNextByte() {
  const std::uint64_t discard = rxDiscard_.load(std::memory_order_acquire);
  const auto generation = static_cast<std::uint32_t>(discard >> 32);
  if (generation != rxDiscardApplied_.load(std::memory_order_relaxed)) {
    rxTail_.store(static_cast<std::uint32_t>(discard), std::memory_order_release);
    rxDiscardApplied_.store(generation, std::memory_order_release);
  }
  const std::uint32_t tail = rxTail_.load(std::memory_order_relaxed);
  if (tail == rxHead_.load(std::memory_order_acquire)) return -1;
  std::uint32_t next = tail + 1;
  if (next == ringSize_) next = 0;
  const int byte = ring_[next];
  rxTail_.store(next, std::memory_order_release);
  return byte;
}

int EcmLink::RxPeekByte() const {
  const std::uint32_t tail = TailFor(rxDiscard_.load(std::memory_order_acquire));
  if (tail == rxHead_.load(std::memory_order_acquire)) return -1;
  std::uint32_t next = tail + 1;
  if (next == ringSize_) next = 0;
  return ring_[next];
}

int EcmLink::SubmitPacket(const std::uint8_t* bytes, std::uint32_t length) {
  if (!Connected() || length > kTxSlotSize) return -1;
  std::uint32_t expected = 0;
  if (!txPending_.compare_exchange_strong(expected, kTxClaimed, std::memory_order_acq_rel)) return -1;
  std::memcpy(txBuffer_, bytes, length);
  txPending_.store(length, std::memory_order_release);
  WakeCommThread();
  return 0;
}

void EcmLink::RequestRxReset() {
  rxResetRequested_.store(1, std::memory_order_release);
  WakeCommThread();
}

void EcmLink::RequestShutdown() {
  {
    std::lock_guard lock(sleepMutex_);
    shutdown_.store(true, std::memory_order_release);
  }
  sleepWake_.notify_all();
  {
    std::lock_guard lock(outcomeMutex_);  // a waiter sees the flag, or is woken
  }
  outcomeKnown_.notify_all();
  changed_.Ring();
  WakeCommThread();
}

void EcmLink::Sleep(std::chrono::milliseconds duration) {
  std::unique_lock lock(sleepMutex_);
  sleepWake_.wait_for(lock, duration, [this] { return shutdown_.load(std::memory_order_acquire); });
}

}  // namespace vantor
