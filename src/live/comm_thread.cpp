#include "live/comm_thread.h"

#include <cstdio>

#include "link/ecm_link.h"
#include "live/log_hooks.h"

namespace vantor {
namespace {

// The longest sleep in a quiet device: a log duty asked for meanwhile (they
// do not wake the thread) waits at most this long.
constexpr auto kQuietBound = std::chrono::milliseconds(100);

std::string DateText(const LogHooks& hooks) { return hooks.dateText ? hooks.dateText() : LocalDateText(); }

// A duty's flag: 1 asked (by its requester), 2 being served, 0 served. A
// request made while the duty is served sets it back to 1, so it is served
// again rather than taken for done.
constexpr std::uint32_t kDutyTaken = 2;

bool TakeDuty(std::atomic<std::uint32_t>& flag) {
  std::uint32_t asked = flag.load(std::memory_order_acquire);
  return asked != 0 && flag.compare_exchange_strong(asked, kDutyTaken, std::memory_order_acq_rel);
}

void DutyDone(std::atomic<std::uint32_t>& flag) {
  std::uint32_t taken = kDutyTaken;
  flag.compare_exchange_strong(taken, 0, std::memory_order_acq_rel);
}

}  // namespace

CommThread::CommThread(EcmLink& link, LogHooks* hooks)
    : link_(link), hooks_(link.Profile().logWriting ? hooks : nullptr) {}

CommThread::~CommThread() { Stop(); }

void CommThread::Start() {
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
}

void CommThread::Stop() {
  if (!thread_.joinable()) return;
  link_.RequestShutdown();
  thread_.join();
}

void CommThread::Run() {
  for (;;) {
    const std::uint64_t seen = link_.CommWakeCount();
    if (link_.ShutdownRequested()) return;
    if (link_.RequestPending()) link_.ServicePortRequest();
    if (link_.Connected()) {
      Pump();
    } else {
      link_.AwaitRequest(seen);
    }
  }
}

void CommThread::Pump() {
  while (link_.Connected() && !link_.ShutdownRequested()) {
    switch (Pass()) {
      case PassEnd::Next: break;
      case PassEnd::Quiet:
        if (!DutyWaiting()) link_.AwaitDeviceInput(kQuietBound);
        break;
      case PassEnd::Leave: return;
    }
  }
}

CommThread::PassEnd CommThread::Pass() {
  ServeLogDuty();
  if (link_.WritePendingPacket() == IoStatus::Failed) return PassEnd::Leave;
  if (link_.ServiceRxReset()) return PassEnd::Next;
  std::uint8_t byte = 0;
  switch (link_.ReadDeviceByte(&byte)) {
    case IoStatus::Ok: break;
    case IoStatus::NoData: return link_.RequestPending() ? PassEnd::Leave : PassEnd::Quiet;
    case IoStatus::Failed: return PassEnd::Leave;
  }
  LogReceivedByte(byte);
  link_.StoreRxByte(byte);
  return PassEnd::Next;
}

bool CommThread::DutyWaiting() const {
  if (link_.TxPending() || link_.RxResetPending() || link_.RequestPending()) return true;
  return hooks_ && (hooks_->stampRequest.load(std::memory_order_acquire) ||
                    hooks_->markRequest.load(std::memory_order_acquire) ||
                    hooks_->flushRequest.load(std::memory_order_acquire));
}

// At most one duty per pass: a stamp before a mark before a flush.
void CommThread::ServeLogDuty() {
  if (!hooks_) return;
  if (TakeDuty(hooks_->stampRequest)) {
    WriteRecord("TIME: " + DateText(*hooks_));
    DutyDone(hooks_->stampRequest);
  } else if (TakeDuty(hooks_->markRequest)) {
    const std::uint32_t mark = hooks_->markCounter.fetch_add(1, std::memory_order_acq_rel);
    char number[16];
    std::snprintf(number, sizeof number, "MARK%03u", mark);
    WriteRecord(number + ("TIME: " + DateText(*hooks_)));
    DutyDone(hooks_->markRequest);
  } else if (TakeDuty(hooks_->flushRequest)) {
    WriteRecord(std::string());
    DutyDone(hooks_->flushRequest);
  }
}

// Writes an event record (possibly empty) and flushes the log.
void CommThread::WriteRecord(const std::string& text) {
  bool failed = false;
  {
    std::lock_guard lock(hooks_->fileMutex);
    // After a failed write nothing more goes into the file.
    if (!hooks_->file || hooks_->writerMode.load(std::memory_order_acquire) != 1) return;
    failed = (!text.empty() && !hooks_->file->WriteText(text)) || !hooks_->file->Flush();
  }
  if (failed) FailWriter();
}

void CommThread::LogReceivedByte(std::uint8_t byte) {
  if (!hooks_ || hooks_->writerMode.load(std::memory_order_acquire) != 1 ||
      hooks_->writerPaused.load(std::memory_order_acquire) != 0)
    return;
  bool failed = false;
  {
    std::lock_guard lock(hooks_->fileMutex);
    failed = hooks_->file && !hooks_->file->WriteByte(byte);
  }
  if (failed) FailWriter();
}

// The log stops taking bytes at once; the report runs outside the file lock
// so the recorder can detach the file.
void CommThread::FailWriter() {
  if (hooks_->writerMode.exchange(0, std::memory_order_acq_rel) != 1) return;
  if (hooks_->reportWriteError) hooks_->reportWriteError();
}

}  // namespace vantor
