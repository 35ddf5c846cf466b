#include "logs/dump_log.h"

#include <cstdio>
#include <memory>

#include "logs/analysis_messages.h"
#include "logs/dump_row.h"
#include "logs/export_channels.h"
#include "logs/frame_values.h"
#include "logs/log_frame_pass.h"

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

class DumpOutput {
 public:
  bool Open(const std::string& path) {
    file_.reset(std::fopen(path.c_str(), "wb"));
    if (file_) std::setvbuf(file_.get(), nullptr, _IOFBF, 1 << 20);
    return file_ != nullptr;
  }
  bool Write(const RowText& row) {
    return std::fwrite(row.Data(), 1, row.Size(), file_.get()) == row.Size() && !std::ferror(file_.get());
  }
  bool Close() {
    const bool flushed = std::fflush(file_.get()) == 0;
    return std::fclose(file_.release()) == 0 && flushed;
  }

 private:
  std::unique_ptr<std::FILE, FileCloser> file_;
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
                     const ExportHooks& hooks) {
  const auto tell = [&](const char* text, const char* caption, ExportResult result) {
    if (hooks.message) hooks.message(text, caption);
    return result;
  };
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
  return ExportResult::kOk;
}

}  // namespace vantor
