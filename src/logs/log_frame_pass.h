#pragma once
// One pass over the valid frames of a data log through the frame reader,
// with the log as the analysis byte source; frames that fail their check
// are skipped. The progress bar of the pass is driven from here.

#include <string>

#include "live/byte_source.h"
#include "live/frame_reader.h"
#include "logs/export_hooks.h"

namespace vantor {

class LogFramePass {
 public:
  explicit LogFramePass(const ExportProgress& progress);
  ~LogFramePass();
  LogFramePass(const LogFramePass&) = delete;
  LogFramePass& operator=(const LogFramePass&) = delete;

  bool Open(const std::string& logPath);
  // False at the end of the data, or where the log could not be read.
  bool Next(LogFrameRead& frame);
  // The pass ended on a read error rather than at the end of the log.
  bool ReadFailed() const { return reader_.ReadFailed(); }
  // Counts a written line; steps the progress bar every 17.
  void CountLine();
  int Lines() const { return lines_; }

 private:
  const ExportProgress& progress_;
  LogFileReader reader_;
  ByteSources sources_{nullptr, ByteSourceId::Analysis};
  bool started_ = false;
  int lines_ = 0;
};

}  // namespace vantor
