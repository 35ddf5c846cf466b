#include "logs/dump_log.h"

#include <cstdio>
#include <memory>

#include "logs/analysis_messages.h"
#include "logs/dump_row.h"
#include "logs/export_channels.h"
#include "logs/frame_values.h"
#include "logs/log_frame_pass.h"
#include "platform/device_path.h"
#include "platform/same_file.h"
#include "platform/working_file.h"

namespace vantor {

std::string DumpOutputPath(const std::string& logPath, bool csv) {
  // Only a dot in the file name starts an extension, never one in a directory name.
  const std::size_t nameStart = logPath.find_last_of("/\\");
  const std::size_t dot = logPath.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
  return (hasExtension ? logPath.substr(0, dot) : logPath) + (csv ? ".csv" : ".ORV");
}

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A file is written under a working name of its own beside it and renamed
// into place only when complete: a failed dump never truncates an earlier
// one, and no other file is touched. A device or pipe (/dev/stdout) is
// written as it is.
class DumpOutput {
 public:
  bool Open(const std::string& path) {
    if (IsDevicePath(path)) {
      device_.reset(std::fopen(path.c_str(), "wb"));
      stream_ = device_.get();
    } else if (working_.Create(path)) {
      stream_ = working_.Get();
    }
    if (stream_) std::setvbuf(stream_, nullptr, _IOFBF, 1 << 20);
    return stream_ != nullptr;
  }
  bool Write(const RowText& row) {
    return std::fwrite(row.Data(), 1, row.Size(), stream_) == row.Size() && !std::ferror(stream_);
  }
  bool Close() {
    stream_ = nullptr;
    if (!device_) return working_.Close();
    const bool flushed = std::fflush(device_.get()) == 0;
    return std::fclose(device_.release()) == 0 && flushed;
  }
  bool Keep() { return working_.Destination().empty() || working_.Commit(); }

 private:
  std::unique_ptr<std::FILE, FileCloser> device_;
  WorkingFile working_;
  std::FILE* stream_ = nullptr;
};

void AppendEventLine(RowText& row, const LogFrameRead& frame) {
  if (frame.markText[0] != '\0') {
    row.Append("Marker: ");
    row.Append(frame.markText);
    row.Append(" @ ");
    row.Append(frame.timeText);
    row.Append("\r\n");
  } else if (frame.timeText[0] != '\0') {
    row.Append("TimeStamp: ");
    row.Append(frame.timeText);
    row.Append("\r\n");
  }
}

}  // namespace

ExportResult DumpLog(const std::string& logPath, const std::string& outputPath, const Settings& settings,
                     const ExportHooks& hooks, FramelessLog frameless) {
  const auto tell = [&](const std::string& text, const char* caption, ExportResult result) {
    if (hooks.message) hooks.message(text, caption);
    return result;
  };
  if (IsSameFile(logPath, outputPath))
    return tell(analysis_text::kOutputIsLog + outputPath, analysis_text::kFileOpenError, ExportResult::kOutputIsLog);
  LogFramePass pass(hooks.progress);
  if (!pass.Open(logPath))
    return tell(analysis_text::kCanNotOpenLog, analysis_text::kFileOpenError, ExportResult::kLogOpenFailed);
  DumpOutput output;
  if (!output.Open(outputPath))
    return tell(analysis_text::kOutputOpenFailed, analysis_text::kFileOpenError, ExportResult::kOutputOpenFailed);

  ExportChannels channels(settings);
  DumpRowFormatter formatter(settings);
  const bool singleHeader = settings.anaSHeader == 1;
  // The channel columns are sized on an all-zero frame before any heading.
  const std::uint8_t zeroFrame[kFrameDataSize] = {};
  channels.Process(zeroFrame, true);
  auto row = std::make_unique<RowText>();
  bool written = true;
  if (singleHeader) {
    formatter.AppendHeading(*row, channels);
    written = output.Write(*row);
  }
  int previousSecond = -1;
  LogFrameRead frame;
  while (written && pass.Next(frame)) {
    row->Clear();
    if (!singleHeader) {
      AppendEventLine(*row, frame);
      const int second = static_cast<int>(exports::RunSeconds(frame.data) % 60);
      if (second != previousSecond) formatter.AppendHeading(*row, channels);
      previousSecond = second;
    }
    channels.Process(frame.data, true);
    formatter.AppendRow(*row, frame.data, channels);
    written = output.Write(*row);
    pass.CountLine();
  }
  if (!output.Close() || !written)
    return tell(analysis_text::kDumpWriteFailed, analysis_text::kFileWriteError, ExportResult::kWriteFailed);
  if (pass.ReadFailed())
    return tell(analysis_text::kDumpReadFailed, analysis_text::kFileReadError, ExportResult::kReadFailed);
  if (pass.Lines() == 0 && frameless == FramelessLog::Refuse)
    return tell(analysis_text::kNotADataLog + logPath, analysis_text::kFileReadError, ExportResult::kNotALog);
  if (!output.Keep())
    return tell(analysis_text::kDumpWriteFailed, analysis_text::kFileWriteError, ExportResult::kWriteFailed);
  return ExportResult::kOk;
}

}  // namespace vantor
