#include "logs/dump_log.h"

#include <memory>

#include "logs/dump_row.h"
#include "logs/export_channels.h"
#include "logs/export_run.h"
#include "logs/frame_values.h"

namespace vantor {

std::string WithExtension(const std::string& logPath, const char* extension) {
  // Only a dot in the file name starts an extension, never one in a directory name.
  const std::size_t nameStart = logPath.find_last_of("/\\");
  const std::size_t dot = logPath.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (nameStart == std::string::npos || dot > nameStart);
  return (hasExtension ? logPath.substr(0, dot) : logPath) + extension;
}

std::string DumpOutputPath(const std::string& logPath, bool csv) { return WithExtension(logPath, csv ? ".csv" : ".ORV"); }

namespace {

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
  ExportRun run(logPath, outputPath, hooks);
  if (const ExportResult opened = run.Open(); opened != ExportResult::kOk) return opened;

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
    written = run.Write(row->View());
  }
  int previousSecond = -1;
  LogFrameRead frame;
  while (written && run.Pass().Next(frame)) {
    row->Clear();
    if (!singleHeader) {
      AppendEventLine(*row, frame);
      const int second = static_cast<int>(exports::RunSeconds(frame.data) % 60);
      if (second != previousSecond) formatter.AppendHeading(*row, channels);
      previousSecond = second;
    }
    channels.Process(frame.data, true);
    formatter.AppendRow(*row, frame.data, channels);
    written = run.Write(row->View());
    run.Pass().CountLine();
  }
  return run.Finish(written, frameless);
}

}  // namespace vantor
