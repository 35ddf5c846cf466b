#include "live/comm_thread.h"

#include <cstdio>

#include "link/ecm_link.h"
#include "live/log_hooks.h"

namespace vantor {
namespace {

constexpr auto kIdleSleep = std::chrono::milliseconds(1);

std::string DateText(const LogHooks& hooks) { return hooks.dateText ? hooks.dateText() : LocalDateText(); }

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
  while (!link_.ShutdownRequested()) {
    if (link_.RequestPending()) link_.ServicePortRequest();
    while (link_.Connected() && !link_.ShutdownRequested()) {
      if (!Pass()) break;
    }
    link_.Sleep(kIdleSleep);
  }
}

bool CommThread::Pass() {
  ServeLogDuty();
  if (link_.WritePendingPacket() == IoStatus::Failed) return false;
  if (link_.ServiceRxReset()) return true;
  std::uint8_t byte = 0;
  if (link_.ReadDeviceByte(&byte) != IoStatus::Ok) return false;
  LogReceivedByte(byte);
  link_.StoreRxByte(byte);
  return true;
}

// At most one duty per pass: a stamp before a mark before a flush.
void CommThread::ServeLogDuty() {
  if (!hooks_) return;
  if (hooks_->stampRequest.load(std::memory_order_acquire)) {
    WriteRecord("TIME: " + DateText(*hooks_));
    hooks_->stampRequest.store(0, std::memory_order_release);
  } else if (hooks_->markRequest.load(std::memory_order_acquire)) {
    const std::uint32_t mark = hooks_->markCounter.fetch_add(1, std::memory_order_acq_rel);
    char number[16];
    std::snprintf(number, sizeof number, "MARK%03u", mark);
    WriteRecord(number + ("TIME: " + DateText(*hooks_)));
    hooks_->markRequest.store(0, std::memory_order_release);
  } else if (hooks_->flushRequest.load(std::memory_order_acquire)) {
    WriteRecord(std::string());
    hooks_->flushRequest.store(0, std::memory_order_release);
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
