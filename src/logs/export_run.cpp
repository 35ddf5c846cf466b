#include "logs/export_run.h"

#include "logs/analysis_messages.h"
#include "platform/same_file.h"

namespace vantor {

using namespace analysis_text;

ExportRun::ExportRun(const std::string& logPath, const std::string& outputPath, const ExportHooks& hooks)
    : logPath_(logPath), outputPath_(outputPath), hooks_(hooks), pass_(hooks.progress) {}

ExportResult ExportRun::Tell(const std::string& text, const char* caption, ExportResult result) const {
  if (hooks_.message) hooks_.message(text, caption);
  return result;
}

ExportResult ExportRun::Open() {
  if (IsSameFile(logPath_, outputPath_))
    return Tell(kOutputIsLog + outputPath_, kFileOpenError, ExportResult::kOutputIsLog);
  if (!pass_.Open(logPath_)) return Tell(kCanNotOpenLog, kFileOpenError, ExportResult::kLogOpenFailed);
  if (!output_.Open(outputPath_)) return Tell(kOutputOpenFailed, kFileOpenError, ExportResult::kOutputOpenFailed);
  return ExportResult::kOk;
}

ExportResult ExportRun::Finish(bool written, FramelessLog frameless) {
  if (!output_.Close() || !written) return Tell(kDumpWriteFailed, kFileWriteError, ExportResult::kWriteFailed);
  if (pass_.ReadFailed()) return Tell(kDumpReadFailed, kFileReadError, ExportResult::kReadFailed);
  if (pass_.Lines() == 0 && frameless == FramelessLog::Refuse)
    return Tell(kNotADataLog + logPath_, kFileReadError, ExportResult::kNotALog);
  if (!output_.Keep()) return Tell(kDumpWriteFailed, kFileWriteError, ExportResult::kWriteFailed);
  return ExportResult::kOk;
}

}  // namespace vantor
