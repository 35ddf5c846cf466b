#pragma once
// The frame of every file export of a log: the output is never the log
// itself, the log and the output open, the frames pass with the progress bar,
// and at the end a write or read error is reported, a log without a good
// frame is refused where asked, and only a complete file takes its place.

#include <string>
#include <string_view>

#include "logs/export_hooks.h"
#include "logs/export_output.h"
#include "logs/log_frame_pass.h"

namespace vantor {

class ExportRun {
 public:
  ExportRun(const std::string& logPath, const std::string& outputPath, const ExportHooks& hooks);

  // kOk when both files are open (any other result has been shown).
  ExportResult Open();
  LogFramePass& Pass() { return pass_; }
  bool Write(std::string_view text) { return output_.Write(text); }
  // written: every write of the pass succeeded.
  ExportResult Finish(bool written, FramelessLog frameless);

 private:
  ExportResult Tell(const std::string& text, const char* caption, ExportResult result) const;

  const std::string& logPath_;
  const std::string& outputPath_;
  const ExportHooks& hooks_;
  LogFramePass pass_;
  ExportOutput output_;
};

}  // namespace vantor
