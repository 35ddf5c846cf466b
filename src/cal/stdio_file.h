#pragma once
// StdioFile: an owned FILE* that closes itself; Close() reports whether the
// close (and so the last buffered write) succeeded.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace vantor {

class StdioFile {
 public:
  StdioFile() = default;
  StdioFile(const std::string& path, const char* mode) : file_(std::fopen(path.c_str(), mode)) {}
  ~StdioFile() {
    if (file_) std::fclose(file_);
  }
  StdioFile(StdioFile&& other) noexcept : file_(other.file_) { other.file_ = nullptr; }
  StdioFile& operator=(StdioFile&& other) noexcept {
    if (this != &other) {
      if (file_) std::fclose(file_);
      file_ = other.file_;
      other.file_ = nullptr;
    }
    return *this;
  }
  StdioFile(const StdioFile&) = delete;
  StdioFile& operator=(const StdioFile&) = delete;

  explicit operator bool() const { return file_ != nullptr; }
  std::FILE* Get() const { return file_; }

  bool Seek(long offset, int whence = SEEK_SET) { return std::fseek(file_, offset, whence) == 0; }
  std::size_t Read(void* buffer, std::size_t bytes) { return std::fread(buffer, 1, bytes, file_); }
  bool Write(const void* bytes, std::size_t count) { return std::fwrite(bytes, 1, count, file_) == count; }
  // Size of the file; -1 when it cannot be told. Leaves the position at the end.
  long Size() {
    if (!Seek(0, SEEK_END)) return -1;
    return std::ftell(file_);
  }
  bool Close() {
    if (!file_) return false;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
  }

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace vantor
