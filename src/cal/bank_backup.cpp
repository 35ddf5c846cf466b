#include "cal/bank_backup.h"

#include <charconv>
#include <cstdio>
#include <system_error>
#include <tuple>
#include <vector>

#include "cal/cal_image.h"
#include "cal/stdio_file.h"
#include "platform/local_time.h"

namespace vantor {
namespace {

// "YYYYMMDD", "HHMMSS" and the sequence of a backup name of the bank; false
// for any other name.
using BackupKey = std::tuple<std::string, std::string, int>;
bool ParseBackupName(const std::string& name, int bank, BackupKey* key) {
  const std::string prefix = "Bank_" + std::to_string(bank) + "_";
  constexpr std::size_t kStampLength = 15;  // YYYYMMDD_HHMMSS
  if (name.rfind(prefix, 0) != 0 || name.size() < prefix.size() + kStampLength + 4) return false;
  if (name.compare(name.size() - 4, 4, ".bin") != 0) return false;
  const std::string stamp = name.substr(prefix.size(), kStampLength);
  for (std::size_t i = 0; i < kStampLength; ++i)
    if ((i == 8) != (stamp[i] == '_') || (i != 8 && (stamp[i] < '0' || stamp[i] > '9'))) return false;
  const std::string rest = name.substr(prefix.size() + kStampLength, name.size() - 4 - prefix.size() - kStampLength);
  int sequence = 1;
  if (!rest.empty()) {
    const char* end = rest.data() + rest.size();
    if (rest[0] != '_' || std::from_chars(rest.data() + 1, end, sequence).ptr != end || sequence < 2) return false;
  }
  *key = {stamp.substr(0, 8), stamp.substr(9), sequence};
  return true;
}

}  // namespace

std::filesystem::path BackupDirectory(const BankBackup& backup, const std::string& programFile) {
  if (!backup.directory.empty()) return backup.directory;
  return std::filesystem::path(programFile).parent_path() / kBackupFolderName;
}

std::string BackupFileName(int bank, std::time_t when, int sequence) {
  const std::tm local = LocalTime(when);
  char name[64];
  std::snprintf(name, sizeof name, "Bank_%d_%04d%02d%02d_%02d%02d%02d", bank, local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
  std::string text = name;
  if (sequence > 1) text += "_" + std::to_string(sequence);
  return text + ".bin";
}

std::filesystem::path FreeBackupPath(const std::filesystem::path& directory, int bank, std::time_t when) {
  std::error_code error;
  for (int sequence = 1;; ++sequence) {
    const std::filesystem::path path = directory / BackupFileName(bank, when, sequence);
    if (!std::filesystem::exists(std::filesystem::symlink_status(path, error))) return path;
  }
}

std::filesystem::path NewestBackup(const std::filesystem::path& directory, int bank) {
  std::filesystem::path newest;
  BackupKey newestKey;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    BackupKey key;
    if (!entry.is_regular_file(error) || !ParseBackupName(entry.path().filename().string(), bank, &key)) continue;
    if (newest.empty() || key > newestKey) {
      newest = entry.path();
      newestKey = key;
    }
  }
  return newest;
}

std::string BackupDefect(const std::filesystem::path& path) {
  StdioFile file(path.string(), "rb");
  if (!file) return "can not be opened";
  std::vector<std::uint8_t> bytes(kCalImageSize + 1);
  const std::size_t got = file.Read(bytes.data(), bytes.size());
  if (std::ferror(file.Get())) return "can not be read";
  if (got != kCalImageSize) return "is not 32768 bytes long";
  if (!std::equal(bytes.begin() + 2, bytes.begin() + 6, "ORV9")) return "has no ORV9 signature";
  const std::uint16_t stored = static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
  if (Sum(bytes.data(), kChecksumStart, kCalImageSize - 1) != stored) return "does not sum to its checksum";
  return {};
}

}  // namespace vantor
