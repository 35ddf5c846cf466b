#include "logs/log_frame_pass.h"

namespace vantor {

LogFramePass::LogFramePass(const ExportProgress& progress) : progress_(progress) {}

LogFramePass::~LogFramePass() {
  sources_.SetAnalysisFile(false, nullptr);
  if (started_ && progress_.end) progress_.end();
}

bool LogFramePass::Open(const std::string& logPath) {
  if (!reader_.Open(logPath)) return false;
  started_ = true;
  if (progress_.begin) progress_.begin(static_cast<int>(reader_.Size() / kBytesPerSecondOfLog));
  sources_.SetAnalysisFile(true, &reader_);
  return true;
}

bool LogFramePass::Next(LogFrameRead& frame) {
  for (;;) {
    const int result = ReadLogFrame(sources_, frame);
    if (result == kFrameOk) return true;
    if (result == kFrameEndOfData) return false;
  }
}

void LogFramePass::CountLine() {
  if (++lines_ % kFramesPerProgressStep == 0 && progress_.step) progress_.step();
}

}  // namespace vantor
