#pragma once
// DataLogRecorder: starts and stops the recording of the live byte stream
// into a .dat file. The communication thread writes the bytes and the event
// records through the log hooks; the recorder opens the file, writes the
// header, hands the file over and takes it back.
//
// Threads: everything here runs on the user-interface thread (or the
// command-line tool's main thread) except ReportLogWriteError, which the
// communication thread calls.

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "link/file_open_caption.h"
#include "live/log_hooks.h"
#include "settings/settings.h"

namespace vantor {

class FileLogWriter;

struct RecorderHooks {
  // Shows a message box (text, caption). For the write error it is called on
  // the communication thread and must not block: post the message and have
  // the user-interface thread call StopDataLog.
  std::function<void(const std::string& text, const std::string& caption)> showMessage;
  // Menu state: logging true grays "&DataLog..." and enables "Close DataLo&g"; redraws.
  std::function<void(bool logging)> loggingChanged;
  // Writes the configuration file after the remembered log paths changed
  // (the command-line tool leaves this empty: it never writes one).
  std::function<void()> saveSettings;
  // Posts work to the user-interface thread without waiting for it; the
  // recorder stops the log there after a failed write. Empty: the owner
  // watches WriteFailed() and calls StopDataLog itself.
  std::function<void(std::function<void()> work)> onUserThread = nullptr;
};

constexpr const char* kLogOpenErrorText = "Can not open Data Logging File";
constexpr const char* kLogNotADataLogText =
    "Not a Data Log File\n\nA recording is added only to an empty file or to a data log; the file is left as it "
    "was.";
constexpr const char* kLogWriteErrorText = "Error Writing to File\nDisk Full?";
constexpr const char* kFileWriteErrorCaption = "File Write Error";

class DataLogRecorder {
 public:
  // Installs ReportLogWriteError as logHooks.reportWriteError.
  DataLogRecorder(LogHooks& logHooks, Settings& settings, RecorderHooks hooks);
  ~DataLogRecorder();
  DataLogRecorder(const DataLogRecorder&) = delete;
  DataLogRecorder& operator=(const DataLogRecorder&) = delete;

  // Appends a new recording to path: "TIME:" line, the settings text with
  // CR LF, then the stream. False (message shown) when the file can not be
  // opened, is neither empty nor a data log (it is left as it was), or the
  // header can not be written. Does nothing while logging.
  bool StartDataLog(const std::string& path);
  // Takes the file back from the communication thread and closes it.
  // Does nothing unless logging.
  void StopDataLog();

  // SPACE / TAB: resume a paused log and ask for a time stamp / a mark.
  // Both clear pausedShown.
  void RequestTimeStamp();
  void RequestMark();
  // Stores the flag, returns the previous one.
  bool SetWriterPaused(bool paused);
  // ENTER (when [ENTERPAUSE] is 1): pauses and sets pausedShown; false when
  // it was already shown or no log is written.
  bool PauseFromKey();
  void RequestFlush();

  // Communication thread, after a failed write (the writer has already
  // stopped taking bytes).
  void ReportLogWriteError();

  bool Logging() const { return logging_.load(std::memory_order_acquire); }
  bool PausedShown() const { return pausedShown_.load(std::memory_order_acquire); }
  // True once a write failed in the current or last recording.
  bool WriteFailed() const { return writeFailed_.load(std::memory_order_acquire); }

 private:
  // False (message shown) for a file that is neither empty nor a data log.
  bool MayAppendTo(FileLogWriter& writer);
  bool WriteHeader(FileLogWriter& writer);
  void RememberLogPath(const std::string& path);
  void Show(const char* text, const char* caption);
  void NotifyLogging(bool logging);
  void StopAfterWriteFailure(unsigned recording);

  LogHooks& logHooks_;
  Settings& settings_;
  RecorderHooks hooks_;
  std::unique_ptr<FileLogWriter> writer_;
  std::atomic<bool> logging_{false};
  std::atomic<bool> pausedShown_{false};
  std::atomic<bool> writeFailed_{false};
  std::atomic<unsigned> recording_{0};  // counts started logs, so a late stop spares the next one
};

}  // namespace vantor
