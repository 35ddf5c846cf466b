#pragma once
// A temporary read-write binary file in a given directory that disappears
// when it is closed (and, where the platform allows, even if the program dies).

#include <cstdio>
#include <filesystem>

namespace vantor {

class ScratchFile {
 public:
  ScratchFile() = default;
  ~ScratchFile() { Close(); }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Creates a hidden file named "$$_orv$$_..." in directory.
  bool Create(const std::filesystem::path& directory);
  void Close();
  bool IsOpen() const { return stream_ != nullptr; }
  std::FILE* Stream() const { return stream_; }
  // Empties the file for a rebuild.
  bool Truncate();

 private:
  std::FILE* stream_ = nullptr;
};

}  // namespace vantor
