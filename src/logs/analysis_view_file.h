#pragma once
// The Analysis view file: a temporary file of fixed 109-byte lines, one per
// valid frame of the analysed log, removed when closed.

#include <cstdio>
#include <filesystem>
#include <string>

#include "logs/export_hooks.h"
#include "logs/scratch_file.h"
#include "logs/view_line.h"
#include "settings/settings.h"

namespace vantor {

// Read access to view lines by number (the table and the quarter-mile graph).
class ViewLines {
 public:
  virtual ~ViewLines() = default;
  virtual int LineCount() const = 0;
  // Reads up to count lines from first into out (count * 109 bytes); returns the lines read.
  virtual int ReadLines(int first, int count, char* out) const = 0;
};

class AnalysisViewFile final : public ViewLines {
 public:
  // Creates the empty file in directory (beside the configuration).
  bool Create(const std::filesystem::path& directory) { return file_.Create(directory); }
  void Close() { file_.Close(); }
  bool IsOpen() const { return file_.IsOpen(); }
  std::FILE* Stream() const { return file_.Stream(); }
  bool Truncate() { return file_.Truncate(); }

  int LineCount() const override;
  int ReadLines(int first, int count, char* out) const override;
  // The kind character of a line, or 0 when the line does not exist.
  char Kind(int line) const;
  bool WriteKind(int line, char kind);

 private:
  ScratchFile file_;
};

// Writes the view lines of every valid frame of the log to out. Log open
// failure: kLogOpenFailed without a message; write failure: the message.
ExportResult WriteViewLines(std::FILE* out, const std::string& logPath, const Settings& settings,
                            const ExportHooks& hooks);

// BuildViewFile: rebuilds the view file from its start.
ExportResult BuildViewFile(AnalysisViewFile& view, const std::string& logPath, const Settings& settings,
                           const ExportHooks& hooks);

}  // namespace vantor
