#include "logs/dump_log.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

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

// A file is written under a working name beside it and renamed into place
// only when complete: a failed dump never truncates an earlier one. A device
// or pipe (/dev/stdout) is written as it is.
bool IsDevice(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
}

class DumpOutput {
 public:
  explicit DumpOutput(const std::string& path) : path_(path), working_(IsDevice(path) ? path : path + ".part") {}
  ~DumpOutput() {
    file_.reset();
    if (opened_ && !kept_ && working_ != path_) {
      std::error_code ignored;
      std::filesystem::remove(working_, ignored);
    }
  }
  DumpOutput(const DumpOutput&) = delete;
  DumpOutput& operator=(const DumpOutput&) = delete;

  bool Open() {
    file_.reset(std::fopen(working_.c_str(), "wb"));
    opened_ = file_ != nullptr;
    if (file_) std::setvbuf(file_.get(), nullptr, _IOFBF, 1 << 20);
    return opened_;
  }
  bool Write(const RowText& row) {
    return std::fwrite(row.Data(), 1, row.Size(), file_.get()) == row.Size() && !std::ferror(file_.get());
  }
  bool Close() {
    const bool flushed = std::fflush(file_.get()) == 0;
    return std::fclose(file_.release()) == 0 && flushed;
  }
  bool Keep() {
    std::error_code error;
    if (working_ != path_) std::filesystem::rename(working_, path_, error);
    kept_ = !error;
    return kept_;
  }

 private:
  std::string path_;
  std::string working_;
  std::unique_ptr<std::FILE, FileCloser> file_;
  bool opened_ = false;
  bool kept_ = false;
};

// The same file under another name (a link, another spelling) counts too.
bool IsSameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

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
  const auto tell = [&](const std::string& text, const char* caption, ExportResult result) {
    if (hooks.message) hooks.message(text, caption);
    return result;
  };
  if (IsSameFile(logPath, outputPath))
    return tell(analysis_text::kOutputIsLog + outputPath, analysis_text::kFileOpenError, ExportResult::kOutputIsLog);
  LogFramePass pass(hooks.progress);
  if (!pass.Open(logPath))
    return tell(analysis_text::kCanNotOpenLog, analysis_text::kFileOpenError, ExportResult::kLogOpenFailed);
  DumpOutput output(outputPath);
  if (!output.Open())
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
  if (!output.Keep())
    return tell(analysis_text::kDumpWriteFailed, analysis_text::kFileWriteError, ExportResult::kWriteFailed);
  return ExportResult::kOk;
}

}  // namespace vantor
