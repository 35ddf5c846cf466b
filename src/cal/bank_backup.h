#pragma once
// Bank backups: before a bank is programmed, what it holds is read as a bank
// read reads it into "Backups/Bank_N_YYYYMMDD_HHMMSS.bin" beside the program
// file (or in a folder of the user's choice) and made read-only. A second
// backup of the same bank within one second takes "_2", "_3" ... before
// ".bin"; no backup is ever written over.

#include <ctime>
#include <filesystem>
#include <string>

namespace vantor {

struct BankBackup {
  bool enabled = true;
  std::string directory;             // empty: "Backups" beside the program file
  std::string* keptPath = nullptr;   // receives the path of the backup written
};

inline const BankBackup kNoBackup = [] {
  BankBackup none;
  none.enabled = false;
  return none;
}();

constexpr const char* kBackupFolderName = "Backups";

std::filesystem::path BackupDirectory(const BankBackup& backup, const std::string& programFile);

// "Bank_N_YYYYMMDD_HHMMSS.bin" of the local time when; sequence 2 and up adds "_k".
std::string BackupFileName(int bank, std::time_t when, int sequence = 1);
// The first of those names not yet taken in directory.
std::filesystem::path FreeBackupPath(const std::filesystem::path& directory, int bank, std::time_t when);

// The newest backup of bank in directory by the time and number in its name;
// empty when there is none.
std::filesystem::path NewestBackup(const std::filesystem::path& directory, int bank);

// A backup to restore must be a whole bank image: 32,768 bytes, "ORV9" at
// bytes 2-5, and bytes 8 to the end summing to the checksum at 6-7. Empty
// when it is; else what is wrong.
std::string BackupDefect(const std::filesystem::path& path);

}  // namespace vantor
