#include "logs/analysis_view_file.h"

#include <vector>

#include "logs/analysis_messages.h"
#include "logs/export_channels.h"
#include "logs/log_frame_pass.h"

namespace vantor {

int AnalysisViewFile::LineCount() const {
  std::FILE* stream = Stream();
  if (!stream || std::fflush(stream) != 0 || std::fseek(stream, 0, SEEK_END) != 0) return 0;
  const long size = std::ftell(stream);
  return size < 0 ? 0 : static_cast<int>(size / kViewLineSize);
}

int AnalysisViewFile::ReadLines(int first, int count, char* out) const {
  std::FILE* stream = Stream();
  if (!stream || first < 0 || count <= 0) return 0;
  if (std::fseek(stream, static_cast<long>(first) * kViewLineSize, SEEK_SET) != 0) return 0;
  const std::size_t bytes = std::fread(out, 1, static_cast<std::size_t>(count) * kViewLineSize, stream);
  return static_cast<int>(bytes / kViewLineSize);
}

char AnalysisViewFile::Kind(int line) const {
  char text[kViewLineSize];
  return ReadLines(line, 1, text) == 1 ? text[view_field::kKind] : '\0';
}

bool AnalysisViewFile::WriteKind(int line, char kind) {
  std::FILE* stream = Stream();
  if (!stream || line < 0 || line >= LineCount()) return false;
  if (std::fseek(stream, static_cast<long>(line) * kViewLineSize, SEEK_SET) != 0) return false;
  return std::fputc(kind, stream) != EOF && std::fflush(stream) == 0;
}

ExportResult WriteViewLines(std::FILE* out, const std::string& logPath, const Settings& settings,
                            const ExportHooks& hooks) {
  LogFramePass pass(hooks.progress);
  if (!pass.Open(logPath)) return ExportResult::kLogOpenFailed;
  ExportChannels channels(settings);
  ViewLineFormatter formatter(settings);
  // Lines are gathered into blocks; a block is written whole.
  constexpr int kBlockLines = 512;
  std::vector<char> block(static_cast<std::size_t>(kBlockLines) * kViewLineSize);
  int inBlock = 0;
  const auto flushBlock = [&] {
    const std::size_t bytes = static_cast<std::size_t>(inBlock) * kViewLineSize;
    inBlock = 0;
    return std::fwrite(block.data(), 1, bytes, out) == bytes;
  };
  bool written = true;
  LogFrameRead frame;
  while (written && pass.Next(frame)) {
    channels.Process(frame.data, false);
    const char kind = ViewLineKind(frame.markText[0] != '\0', frame.timeText[0] != '\0');
    formatter.Format(frame.data, kind, channels.WidebandAfr(), block.data() + inBlock * kViewLineSize);
    if (++inBlock == kBlockLines) written = flushBlock();
    pass.CountLine();
  }
  if (written) written = flushBlock() && std::fflush(out) == 0;
  if (!written) {
    if (hooks.message) hooks.message(analysis_text::kViewWriteFailed, analysis_text::kFileWriteError);
    return ExportResult::kWriteFailed;
  }
  if (pass.ReadFailed()) {
    if (hooks.message) hooks.message(analysis_text::kViewReadFailed, analysis_text::kFileReadError);
    return ExportResult::kReadFailed;
  }
  return ExportResult::kOk;
}

ExportResult BuildViewFile(AnalysisViewFile& view, const std::string& logPath, const Settings& settings,
                           const ExportHooks& hooks) {
  if (!view.IsOpen() || !view.Truncate()) {
    if (hooks.message) hooks.message(analysis_text::kViewWriteFailed, analysis_text::kFileWriteError);
    return ExportResult::kWriteFailed;
  }
  return WriteViewLines(view.Stream(), logPath, settings, hooks);
}

}  // namespace vantor
