#include "logs/data_log_recorder.h"

#include "logs/data_log_probe.h"
#include "logs/file_log_writer.h"
#include "logs/remembered_path.h"
#include "settings/settings_io.h"

namespace vantor {
namespace {

std::string DateText(const LogHooks& hooks) { return hooks.dateText ? hooks.dateText() : LocalDateText(); }

}  // namespace

DataLogRecorder::DataLogRecorder(LogHooks& logHooks, Settings& settings, RecorderHooks hooks)
    : logHooks_(logHooks), settings_(settings), hooks_(std::move(hooks)) {
  logHooks_.reportWriteError = [this] { ReportLogWriteError(); };
}

DataLogRecorder::~DataLogRecorder() {
  StopDataLog();
  logHooks_.reportWriteError = nullptr;
}

bool DataLogRecorder::StartDataLog(const std::string& path) {
  if (Logging()) return true;
  std::unique_ptr<FileLogWriter> writer = FileLogWriter::OpenForAppend(path);
  if (!writer) {
    Show(kLogOpenErrorText, kFileOpenErrorCaption);
    return false;
  }
  if (!MayAppendTo(*writer)) return false;
  // The header is complete before the communication thread may write, so the
  // two never interleave.
  if (!WriteHeader(*writer)) {
    writer->Close();
    writeFailed_.store(true, std::memory_order_release);
    Show(kLogWriteErrorText, kFileWriteErrorCaption);
    return false;
  }
  writeFailed_.store(false, std::memory_order_release);
  pausedShown_.store(false, std::memory_order_release);
  recording_.fetch_add(1, std::memory_order_acq_rel);
  logging_.store(true, std::memory_order_release);
  writer_ = std::move(writer);
  {
    std::lock_guard lock(logHooks_.fileMutex);
    // Requests left over from an earlier recording would land in this one.
    logHooks_.stampRequest.store(0, std::memory_order_release);
    logHooks_.markRequest.store(0, std::memory_order_release);
    logHooks_.flushRequest.store(0, std::memory_order_release);
    logHooks_.markCounter.store(0, std::memory_order_release);
    logHooks_.writerPaused.store(0, std::memory_order_release);
    logHooks_.file = writer_.get();
    logHooks_.writerMode.store(1, std::memory_order_release);
  }
  RememberLogPath(path);
  NotifyLogging(true);
  return true;
}

bool DataLogRecorder::MayAppendTo(FileLogWriter& writer) {
  switch (ProbeAppendTarget(writer.Stream())) {
    case AppendTarget::Empty:
    case AppendTarget::DataLog:
    case AppendTarget::Device: return true;
    case AppendTarget::NotADataLog: Show(kLogNotADataLogText, kFileOpenErrorCaption); return false;
    case AppendTarget::Unreadable: Show(kLogOpenErrorText, kFileOpenErrorCaption); return false;
  }
  return false;
}

bool DataLogRecorder::WriteHeader(FileLogWriter& writer) {
  if (!writer.WriteText("TIME: " + DateText(logHooks_))) return false;
  if (!WriteSettingsText(writer.Stream(), MainProgramSettingsTable(), &settings_)) return false;
  return std::ferror(writer.Stream()) == 0;
}

void DataLogRecorder::RememberLogPath(const std::string& path) {
  const RememberedPath log = SplitRememberedPath(path);
  settings_.dlog = log.full;
  settings_.dlogName = log.name;
  settings_.dlogPath = log.directory;
  // The new log is the default for analysis.
  settings_.analysisPath = settings_.dlogPath;
  settings_.analysisName = settings_.dlogName;
  settings_.analysis = settings_.dlogPath + settings_.dlogName;
  if (hooks_.saveSettings) hooks_.saveSettings();
}

void DataLogRecorder::StopDataLog() {
  if (!logging_.exchange(false, std::memory_order_acq_rel)) return;
  pausedShown_.store(false, std::memory_order_release);
  {
    // Taking the file lock waits for any write in progress; afterwards the
    // communication thread can not reach the file any more.
    std::lock_guard lock(logHooks_.fileMutex);
    logHooks_.writerMode.store(0, std::memory_order_release);
    logHooks_.file = nullptr;
    logHooks_.markCounter.store(0, std::memory_order_release);
    logHooks_.writerPaused.store(0, std::memory_order_release);
  }
  if (writer_ && !writer_->Close() && !writer_->Failed()) writeFailed_.store(true, std::memory_order_release);
  writer_.reset();
  NotifyLogging(false);
}

void DataLogRecorder::RequestTimeStamp() {
  if (!Logging()) return;
  logHooks_.writerPaused.store(0, std::memory_order_release);
  logHooks_.stampRequest.store(1, std::memory_order_release);
  pausedShown_.store(false, std::memory_order_release);
}

void DataLogRecorder::RequestMark() {
  if (!Logging()) return;
  logHooks_.writerPaused.store(0, std::memory_order_release);
  logHooks_.markRequest.store(1, std::memory_order_release);
  pausedShown_.store(false, std::memory_order_release);
}

bool DataLogRecorder::SetWriterPaused(bool paused) {
  return logHooks_.writerPaused.exchange(paused ? 1 : 0, std::memory_order_acq_rel) != 0;
}

bool DataLogRecorder::PauseFromKey() {
  if (!Logging() || PausedShown()) return false;
  SetWriterPaused(true);
  pausedShown_.store(true, std::memory_order_release);
  return true;
}

void DataLogRecorder::RequestFlush() { logHooks_.flushRequest.store(1, std::memory_order_release); }

void DataLogRecorder::ReportLogWriteError() {
  if (!Logging()) return;
  writeFailed_.store(true, std::memory_order_release);
  Show(kLogWriteErrorText, kFileWriteErrorCaption);
  // What was written stays in the file; the log is closed on the thread that owns it.
  const unsigned recording = recording_.load(std::memory_order_acquire);
  if (hooks_.onUserThread) hooks_.onUserThread([this, recording] { StopAfterWriteFailure(recording); });
}

void DataLogRecorder::StopAfterWriteFailure(unsigned recording) {
  if (recording_.load(std::memory_order_acquire) == recording) StopDataLog();
}

void DataLogRecorder::Show(const char* text, const char* caption) {
  if (hooks_.showMessage) hooks_.showMessage(text, caption);
}

void DataLogRecorder::NotifyLogging(bool logging) {
  if (hooks_.loggingChanged) hooks_.loggingChanged(logging);
}

}  // namespace vantor
