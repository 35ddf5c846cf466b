#include "logs/msl_export.h"

#include <cstdio>
#include <memory>
#include <string_view>

#include "logs/dump_log.h"
#include "logs/export_channels.h"
#include "logs/export_run.h"
#include "logs/log_head.h"
#include "logs/msl_row.h"

namespace vantor {
namespace {

std::string_view WithoutLeadingBlank(const char* text) {
  std::string_view view(text);
  while (!view.empty() && view.front() == ' ') view.remove_prefix(1);
  return view;
}

// "MARK nnn - Marker: 003 @ date" or "MARK nnn - TimeStamp: date", as the dump words them.
void AppendEventLine(RowText& row, const LogFrameRead& frame, unsigned* events) {
  if (frame.markText[0] == '\0' && frame.timeText[0] == '\0') return;
  char number[16];
  std::snprintf(number, sizeof number, "MARK %03u - ", (*events)++);
  row.Append(number);
  if (frame.markText[0] != '\0') {
    row.Append("Marker: ");
    row.Append(frame.markText);
    row.Append(" @ ");
  } else {
    row.Append("TimeStamp: ");
  }
  row.Append(WithoutLeadingBlank(frame.timeText));
  row.Append("\r\n");
}

void AppendQuoted(RowText& row, std::string_view text) {
  row.Append('"');
  row.Append(text);
  row.Append("\"\r\n");
}

}  // namespace

std::string MslOutputPath(const std::string& logPath) { return WithExtension(logPath, ".msl"); }

ExportResult ExportMsl(const std::string& logPath, const std::string& outputPath, const Settings& settings,
                       const std::string& program, const ExportHooks& hooks, FramelessLog frameless) {
  ExportRun run(logPath, outputPath, hooks);
  if (const ExportResult opened = run.Open(); opened != ExportResult::kOk) return opened;
  LogHead head;
  ReadLogHead(logPath, &head);

  ExportChannels channels(settings);
  MslRowFormatter formatter(settings);
  auto row = std::make_unique<RowText>();
  AppendQuoted(*row, program + " - " + (head.hasFrame ? head.module : std::string("no ECM frame")));
  AppendQuoted(*row, "Capture Date: " + head.captureDate);
  formatter.AppendNames(*row, channels);
  formatter.AppendUnits(*row, channels);
  bool written = run.Write(row->View());

  FrameClock clock;
  unsigned events = 0;
  LogFrameRead frame;
  while (written && run.Pass().Next(frame)) {
    row->Clear();
    AppendEventLine(*row, frame, &events);
    channels.Process(frame.data, true);
    formatter.AppendRow(*row, clock.Next(frame.data), frame.data, channels);
    written = run.Write(row->View());
    run.Pass().CountLine();
  }
  return run.Finish(written, frameless);
}

}  // namespace vantor
