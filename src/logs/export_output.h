#pragma once
// Where an export writes: a file is written under a working name of its own
// beside it and renamed into place only when complete, so a failed export
// never truncates an earlier one and no other file is touched. A device or
// pipe (/dev/stdout) is written as it is.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/working_file.h"

namespace vantor {

class ExportOutput {
 public:
  bool Open(const std::string& path);
  bool Write(std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stream_) == text.size() && !std::ferror(stream_);
  }
  // Flushes and closes; false when a buffered write failed.
  bool Close();
  // Renames a complete file into place (nothing to do for a device).
  bool Keep() { return working_.Destination().empty() || working_.Commit(); }

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> device_;
  WorkingFile working_;
  std::FILE* stream_ = nullptr;
};

}  // namespace vantor
