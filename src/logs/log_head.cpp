#include "logs/log_head.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>

#include "live/live_frame.h"
#include "live/log_hooks.h"
#include "logs/log_frame_pass.h"

namespace vantor {
namespace {

std::string WithoutLeadingBlank(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return std::string(text);
}

// A recording starts with its time line, "TIME:" and the stamp text; a mark
// before the first frame would hide it from the frame reader.
std::string OpeningStamp(const std::string& logPath) {
  std::ifstream file(logPath, std::ios::binary);
  char line[5 + kTimeTextSize - 1];
  if (!file.read(line, sizeof line) || std::string_view(line, 5) != "TIME:") return {};
  return WithoutLeadingBlank(std::string_view(line + 5, sizeof line - 5));
}

}  // namespace

bool ReadLogHead(const std::string& logPath, LogHead* head) {
  const ExportProgress noProgress;
  LogFramePass pass(noProgress);
  if (!pass.Open(logPath)) return false;
  head->captureDate = OpeningStamp(logPath);
  LogFrameRead frame;
  // Almost every log starts with a stamp: its first frame tells everything.
  while ((!head->hasFrame || head->captureDate.empty()) && pass.Next(frame)) {
    if (!head->hasFrame) head->module = ModuleFirmwareText(frame.data);
    head->hasFrame = true;
    if (head->captureDate.empty() && frame.timeText[0] != '\0') head->captureDate = WithoutLeadingBlank(frame.timeText);
  }
  if (head->captureDate.empty()) head->captureDate = FileTimeText(logPath);
  return true;
}

std::string ModuleFirmwareText(const std::uint8_t* data) {
  const std::uint8_t firmware = data[frame::kFirmware];
  char text[64];
  std::snprintf(text, sizeof text, "%s, ECM Firmware Version: 1.%d", (firmware & 0x10) ? "ORV KDM-9" : "ORV Q8",
                firmware & 0x0F);
  return text;
}

std::string FileTimeText(const std::string& path) {
  std::error_code error;
  const auto changed = std::filesystem::last_write_time(path, error);
  if (error) return {};
  const std::time_t seconds =
      std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(changed));
  return LocalDateText(seconds);
}

}  // namespace vantor
