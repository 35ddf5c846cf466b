// Configuration file: opening, reading, writing and its place on disk.

#include "settings/settings_io.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "platform/program_dir.h"
#include "platform/working_file.h"
#include "settings/settings_table.h"

namespace vantor {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

void ReportOpenError(const std::string& configPath, const SettingsErrorHook& onError) {
  if (onError) {
    onError("Can not open Configuration File: \n\n " + configPath, "Configuration File Error");
  }
}

std::string ReadAll(std::FILE* file) {
  std::string bytes;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  return bytes;
}

template <typename Int>
Int ClampInPlace(Int* value, std::int64_t min, std::int64_t max) {
  *value = static_cast<Int>(std::clamp<std::int64_t>(*value, min, max));
  return *value;
}

// "%lf": six decimals, always with a '.' whatever the process locale.
std::string FixedSix(double value) {
  char buffer[400];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

std::string ValueText(const SettingsRow& row, Settings* settings) {
  if (!row.field) return row.defaultText;
  SettingsField field = row.field(*settings);
  if (auto* p32 = std::get_if<std::int32_t*>(&field)) {
    return std::to_string(ClampInPlace(*p32, row.min, row.max));
  }
  if (auto* p16 = std::get_if<std::int16_t*>(&field)) {
    return std::to_string(ClampInPlace(*p16, row.min, row.max));
  }
  if (auto* text = std::get_if<std::string*>(&field)) return **text;
  if (auto* real = std::get_if<double*>(&field)) return FixedSix(**real);
  return row.defaultText;
}

bool WriteBytes(std::FILE* stream, const std::string& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
}

}  // namespace

int ReadSettings(const std::string& configPath, const SettingsTable& table, Settings* settings,
                 const SettingsErrorHook& onError) {
  FilePtr file(std::fopen(configPath.c_str(), "r+b"));
  if (file) {
    ApplySettingsText(ReadAll(file.get()), table, settings);
    return 0;
  }
  // First run: leave an empty file for the first write to fill.
  file.reset(std::fopen(configPath.c_str(), "w+b"));
  if (!file) ReportOpenError(configPath, onError);
  return 0;
}

bool ReadSettingsFile(const std::string& configPath, const SettingsTable& table,
                      Settings* settings) {
  FilePtr file(std::fopen(configPath.c_str(), "rb"));
  if (!file) return false;
  std::string bytes = ReadAll(file.get());
  if (std::ferror(file.get())) return false;
  ApplySettingsText(bytes, table, settings);
  return true;
}

int WriteSettings(const std::string& configPath, const SettingsTable& table, Settings* settings,
                  const SettingsErrorHook& onError) {
  // Written under a name of its own beside the file and then renamed over
  // it, so a full disk or a failed write never leaves the user with a
  // truncated configuration, and no other file is ever touched.
  const std::string text = SettingsText(table, settings);
  WorkingFile file;
  if (!file.Create(configPath) || !WriteBytes(file.Get(), text) || !file.Commit()) ReportOpenError(configPath, onError);
  return 0;
}

int WriteSettingsKeepingPort(const std::string& configPath, const SettingsTable& table, Settings* settings,
                             std::optional<std::string>* keptPort, const std::string& runPort,
                             const SettingsErrorHook& onError) {
  if (*keptPort && settings->port != runPort) keptPort->reset();
  const std::string current = settings->port;
  if (*keptPort) settings->port = **keptPort;
  WriteSettings(configPath, table, settings, onError);
  settings->port = current;
  return 0;
}

std::string SettingsText(const SettingsTable& table, Settings* settings) {
  return SettingsText(table, settings, table.lineEnd);
}

std::string SettingsText(const SettingsTable& table, Settings* settings,
                         std::string_view lineEnd) {
  std::string text;
  for (const SettingsRow& row : table.rows) {
    text += row.key;
    text += ' ';
    text += ValueText(row, settings);
    text += lineEnd;
  }
  return text;
}

bool WriteSettingsText(std::FILE* stream, const SettingsTable& table, Settings* settings) {
  return WriteBytes(stream, SettingsText(table, settings, kLogHeaderLineEnd));
}

std::string ConfigPath(const std::string& fileName) {
  return (SettingsDirectory() / fileName).string();
}

}  // namespace vantor
