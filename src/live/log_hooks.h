#pragma once
// The data log hooks that the communication thread serves and the recorder
// drives. The mutex is the hand-over: the communication thread holds it while
// it touches the file, and the recorder takes it to detach the file, so no
// byte is ever written to a closed file.

#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace vantor {

// An open log file as the communication thread sees it.
class LogWriter {
 public:
  virtual ~LogWriter() = default;
  virtual bool WriteByte(std::uint8_t byte) = 0;
  virtual bool WriteText(std::string_view text) = 0;
  // Makes everything written so far durable.
  virtual bool Flush() = 0;
};

struct LogHooks {
  std::mutex fileMutex;
  LogWriter* file = nullptr;                 // guarded by fileMutex
  std::atomic<std::uint32_t> writerMode{0};  // 1 = write received bytes
  std::atomic<std::uint32_t> writerPaused{0};
  std::atomic<std::uint32_t> markCounter{0};
  std::atomic<std::uint32_t> stampRequest{0};
  std::atomic<std::uint32_t> markRequest{0};
  std::atomic<std::uint32_t> flushRequest{0};
  // Called on the communication thread after a failed write; must not block.
  std::function<void()> reportWriteError;
  // The 21-character local date text behind "TIME: " (the clock is replaceable for tests).
  std::function<std::string()> dateText;
};

// " MM/DD/YYYY - hh:mm:ss" without its leading blank, from the local clock.
std::string LocalDateText();
// The same text for another moment (a file's time).
std::string LocalDateText(std::time_t when);

}  // namespace vantor
