#include "update/bank_files.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "cal/cal_image.h"
#include "cal/stdio_file.h"

namespace vantor {
namespace {

namespace fs = std::filesystem;

std::string BankPath(const std::string& directory, const char* pattern, int bank) {
  char name[32];
  std::snprintf(name, sizeof name, pattern, bank);
  return directory.empty() ? std::string(name) : (fs::path(directory) / name).string();
}

}  // namespace

std::string BankDirectory(const std::string& base, bool simulatedModule) {
  if (!simulatedModule) return base;
  return base.empty() ? std::string(kSimulatedModuleFolder) : (fs::path(base) / kSimulatedModuleFolder).string();
}

std::string OldBankPath(const std::string& directory, int bank) {
  return BankPath(directory, "Bank_%d_old.bin", bank);
}

std::string NewBankPath(const std::string& directory, int bank) {
  return BankPath(directory, "Bank_%d_new.bin", bank);
}

std::string ShownFolder(const std::string& directory) {
  std::error_code error;
  const fs::path absolute = fs::absolute(directory.empty() ? fs::path(".") : fs::path(directory), error);
  if (error) return directory;
  fs::path shown = absolute.lexically_normal();
  if (shown.has_relative_path() && !shown.has_filename()) shown = shown.parent_path();  // no trailing separator
  return shown.string();
}

BankFileStatus CheckBankFile(const std::string& path) {
  StdioFile file(path, "rb");
  if (!file) return BankFileStatus::CannotOpen;
  char signature[4];
  const bool whole = file.Size() == static_cast<long>(kCalImageSize);
  const bool marked = whole && file.Seek(2) && file.Read(signature, sizeof signature) == sizeof signature &&
                       std::memcmp(signature, "ORV9", sizeof signature) == 0;
  return marked ? BankFileStatus::Ok : BankFileStatus::NotABankFile;
}

}  // namespace vantor
