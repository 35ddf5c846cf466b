#pragma once
// Texts and captions of the messages the log analysis shows.

namespace vantor::analysis_text {

constexpr const char* kFileOpenError = "File Open Error";
constexpr const char* kFileWriteError = "File Write Error";
constexpr const char* kFileReadError = "File Read Error";
constexpr const char* kViewReadFailed = "Error Reading the Data Log File\n\nThe table ends where the log could not be read.";
constexpr const char* kDumpReadFailed =
    "Error Reading the Data Log File\n\nThe export was cut short there and has not been saved.";
// Followed by the path.
constexpr const char* kOutputIsLog = "The output file would replace the data log itself:\n\n";
constexpr const char* kCanNotOpenLog = "Can not open Data Log File";
// Followed by the path.
constexpr const char* kNotADataLog = "No frame of this file passes its check: it is not a data log:\n\n";
constexpr const char* kTemporaryFileFailed =
    "Error Opening a Temporary File\n\nIs the Disk Full?\n\nIf running from the ORV CD please copy contents onto the hard drive.";
constexpr const char* kViewWriteFailed = "Error Writing to File\nDisk Full?";
constexpr const char* kDumpWriteFailed = "Error Writing to File\n\nDisk Full?";
constexpr const char* kOutputOpenFailed = "Can Not Open Output File\n\nIs it open elsewhere?";
constexpr const char* kNoLogOpened = "Please open a data log...";
constexpr const char* kNoLogOpenedTitle = "No Data Log Opened";
constexpr const char* kEndOfFile = "Hit the Home key to start over at the beginning";
constexpr const char* kEndOfFileTitle = "End of File Reached";
constexpr const char* kChooseAnalysisTitle = "Select Data Log File to Analyze";
constexpr const char* kChooseDumpTitle = "Select Data Log File to Create Dump From";

}  // namespace vantor::analysis_text
