#pragma once
// The data log file as the communication thread writes it: one FILE* opened
// for appending. After the first failed write or flush the writer refuses
// everything, so the file keeps exactly what reached it before the failure.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "live/log_hooks.h"

namespace vantor {

class FileLogWriter final : public LogWriter {
 public:
  // Appends to path, creating it when missing; nullptr when it cannot be
  // opened. The stream can read the file's start before the first write.
  static std::unique_ptr<FileLogWriter> OpenForAppend(const std::string& path);
  ~FileLogWriter() override;
  FileLogWriter(const FileLogWriter&) = delete;
  FileLogWriter& operator=(const FileLogWriter&) = delete;

  bool WriteByte(std::uint8_t byte) override;
  bool WriteText(std::string_view text) override;
  // fflush, then fsync: the bytes are on the disk when this returns true.
  bool Flush() override;

  std::FILE* Stream() { return file_; }
  bool Failed() const { return failed_; }
  // Flushes and closes; false when the last bytes could not be written.
  bool Close();

 private:
  explicit FileLogWriter(std::FILE* file) : file_(file) {}
  bool Fail();

  std::FILE* file_;
  bool failed_ = false;
};

}  // namespace vantor
