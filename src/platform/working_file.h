#pragma once
// WorkingFile: a file written under a unique working name in its
// destination's folder and renamed into place only when complete. The name
// is created exclusively, so it can never be an existing file (an input, or
// someone else's file); an uncommitted working file removes itself.

#include <cstdio>
#include <filesystem>
#include <string>

namespace vantor {

class WorkingFile {
 public:
  WorkingFile() = default;
  ~WorkingFile() { Discard(); }
  WorkingFile(const WorkingFile&) = delete;
  WorkingFile& operator=(const WorkingFile&) = delete;

  // Creates a new, empty working file beside destination, open for reading
  // and writing ("w+b"). False, with a reason in *error, when it cannot.
  bool Create(const std::filesystem::path& destination, std::string* error = nullptr);

  explicit operator bool() const { return file_ != nullptr; }
  std::FILE* Get() const { return file_; }
  // The working name (empty before Create): for code that writes by path
  // after Close().
  const std::filesystem::path& Path() const { return working_; }
  const std::filesystem::path& Destination() const { return destination_; }

  // Flushes and closes the stream; the working name stays reserved. False
  // when a buffered write failed.
  bool Close();
  // Closes the stream if open and renames the working file over the
  // destination. False (working file removed) on any failure.
  bool Commit(std::string* error = nullptr);
  // Closes and removes the working file, if any.
  void Discard();

 private:
  std::filesystem::path destination_;
  std::filesystem::path working_;
  std::FILE* file_ = nullptr;
  bool closeFailed_ = false;
};

}  // namespace vantor
