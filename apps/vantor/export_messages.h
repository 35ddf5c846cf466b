#pragma once
// What the tool says when a pass over a data log ends badly: one line that
// names the file concerned.

#include <string>

#include "logs/export_hooks.h"

namespace vantor::cli {

// log is the data log read; output what was written ("standard output" for a stream).
std::string ExportFailureText(ExportResult result, const std::string& log, const std::string& output);

}  // namespace vantor::cli
