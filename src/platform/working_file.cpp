#include "platform/working_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vantor {
namespace {

constexpr int kAttempts = 64;

// Eight hex digits that differ between processes and between calls.
std::string UniqueTag() {
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = [] {
    std::random_device device;
    return device() ^ static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
  }();
  const unsigned value = seed + 0x9E3779B9u * ++counter;
  char tag[9];
  std::snprintf(tag, sizeof tag, "%08x", value);
  return tag;
}

// Opens a new file exclusively: -1 with errno set when the name exists or the folder refuses.
std::FILE* CreateExclusive(const std::filesystem::path& path) {
#ifdef _WIN32
  const int fd = _open(path.string().c_str(), _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  std::FILE* file = _fdopen(fd, "w+b");
  if (!file) _close(fd);
#else
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "w+b");
  if (!file) ::close(fd);
#endif
  return file;
}

}  // namespace

bool WorkingFile::Create(const std::filesystem::path& destination, std::string* error) {
  Discard();
  destination_ = destination;
  // Renaming over a device (/dev/null) or a folder would replace it with a file.
  std::error_code statusError;
  const auto status = std::filesystem::status(destination, statusError);
  if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    if (error) *error = destination.string() + " is not a regular file";
    return false;
  }
  const std::filesystem::path folder = destination.parent_path();
  const std::string name = destination.filename().string();
  int lastError = 0;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const std::filesystem::path candidate = folder / (name + "." + UniqueTag() + ".part");
    file_ = CreateExclusive(candidate);
    if (file_) {
      working_ = candidate;
      closeFailed_ = false;
      return true;
    }
    lastError = errno;
    if (lastError != EEXIST) break;
  }
  if (error) *error = "Can not create a working file beside " + destination.string() + ": " + std::strerror(lastError);
  return false;
}

bool WorkingFile::Close() {
  if (!file_) return !closeFailed_;
  const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  closeFailed_ = !(flushed && closed);
  return !closeFailed_;
}

bool WorkingFile::Commit(std::string* error) {
  if (working_.empty()) {
    if (error) *error = "Nothing was written for " + destination_.string();
    return false;
  }
  if (!Close()) {
    if (error) *error = "Can not write " + destination_.string();
    Discard();
    return false;
  }
  std::error_code failure;
  std::filesystem::rename(working_, destination_, failure);
  if (failure) {
    if (error) *error = "Can not replace " + destination_.string() + ": " + failure.message();
    Discard();
    return false;
  }
  working_.clear();
  return true;
}

void WorkingFile::Discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!working_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(working_, ignored);
    working_.clear();
  }
}

}  // namespace vantor
