#include "export_messages.h"

#include "cli.h"
#include "logs/analysis_messages.h"

namespace vantor::cli {

std::string ExportFailureText(ExportResult result, const std::string& log, const std::string& output) {
  switch (result) {
    case ExportResult::kOk: return {};
    case ExportResult::kLogOpenFailed: return std::string(analysis_text::kCanNotOpenLog) + ": " + log;
    case ExportResult::kOutputOpenFailed: return "Can Not Open Output File: " + output;
    case ExportResult::kWriteFailed: return "Error Writing to File: " + output + " (Disk Full?)";
    case ExportResult::kReadFailed: return "Error Reading the Data Log File: " + log;
    case ExportResult::kOutputIsLog: return OutputIsInputText(output, log);
    case ExportResult::kNotALog: return "Not a Data Log File: " + log + " (no frame passes its check)";
  }
  return {};
}

}  // namespace vantor::cli
