#pragma once
// The viewer log: a data log as the tab-separated ".msl" text the common log
// viewers read. Line 1 names the program, the module and its firmware, line
// 2 the capture date, line 3 the channels (Time first), line 4 their units;
// then one line per good frame and, at its place, "MARK nnn - text" for each
// mark or time stamp of the log (nnn counts them from 000). Every value is
// the one the CSV dump shows, with '.' as the decimal point and no padding.

#include <string>

#include "logs/export_hooks.h"
#include "settings/settings.h"

namespace vantor {

// The log path with the extension ".msl".
std::string MslOutputPath(const std::string& logPath);

// program: the name line 1 gives ("VantorFlash", "vantor"). Line ends are
// CR LF. The output is never the log itself and replaces an earlier file
// only when complete. The progress hooks step every 17 frames.
ExportResult ExportMsl(const std::string& logPath, const std::string& outputPath, const Settings& settings,
                       const std::string& program, const ExportHooks& hooks,
                       FramelessLog frameless = FramelessLog::Write);

}  // namespace vantor
