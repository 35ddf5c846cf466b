#pragma once
// The log dump: every valid frame of a data log as a row of a text table
// or a CSV file, with headings and the marks and time stamps met.

#include <string>

#include "logs/export_hooks.h"
#include "settings/settings.h"

namespace vantor {

// The log path with its extension (from the last dot of the file name)
// replaced by extension (".csv"); a name without extension gets it appended.
std::string WithExtension(const std::string& logPath, const char* extension);

// ChooseDumpFile's output name: the log path with its extension replaced by
// ".csv" ([ANA.CSV] = 1) or ".ORV"; a name without extension gets it appended.
std::string DumpOutputPath(const std::string& logPath, bool csv);

// DumpLog: [ANA.CSV] picks CSV or text, [ANASHEADER] a single heading.
// Line ends are CR LF on every platform. The output is never the log itself.
ExportResult DumpLog(const std::string& logPath, const std::string& outputPath, const Settings& settings,
                     const ExportHooks& hooks, FramelessLog frameless = FramelessLog::Write);

}  // namespace vantor
