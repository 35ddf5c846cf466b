#include "logs/file_log_writer.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vantor {
namespace {

// Hands what the stream has written to the disk.
bool CommitToDisk(std::FILE* file) {
#ifdef _WIN32
  return ::_commit(::_fileno(file)) == 0;
#else
  return ::fsync(::fileno(file)) == 0;
#endif
}

}  // namespace

std::unique_ptr<FileLogWriter> FileLogWriter::OpenForAppend(const std::string& path) {
  // Readable too, so that the start of an existing file can be checked first.
  std::FILE* file = std::fopen(path.c_str(), "a+b");
  if (!file) return nullptr;
  return std::unique_ptr<FileLogWriter>(new FileLogWriter(file));
}

FileLogWriter::~FileLogWriter() { Close(); }

bool FileLogWriter::Fail() {
  failed_ = true;
  return false;
}

bool FileLogWriter::WriteByte(std::uint8_t byte) {
  if (failed_ || !file_) return false;
  if (std::fputc(byte, file_) == EOF) return Fail();
  return true;
}

bool FileLogWriter::WriteText(std::string_view text) {
  if (failed_ || !file_) return false;
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) return Fail();
  return true;
}

bool FileLogWriter::Flush() {
  if (failed_ || !file_) return false;
  if (std::fflush(file_) != 0) return Fail();
  if (!CommitToDisk(file_)) return Fail();
  return true;
}

bool FileLogWriter::Close() {
  if (!file_) return !failed_;
  // A failed writer still holds buffered bytes that can not be written; they
  // are dropped with the close.
  const bool flushed = failed_ ? false : Flush();
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return flushed && closed;
}

}  // namespace vantor
