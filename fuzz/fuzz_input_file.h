#pragma once
// The fuzzer's input as a file, for the readers that take a path. One file
// per process and name, rewritten for every input.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace vantor::fuzz {

inline std::string ScratchPath(const char* name) {
  return (std::filesystem::temp_directory_path() / ("vantor_fuzz_" + std::to_string(::getpid()) + "_" + name))
      .string();
}

inline std::string InputFile(const char* name, const std::uint8_t* data, std::size_t size) {
  const std::string path = ScratchPath(name);
  if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  return path;
}

}  // namespace vantor::fuzz
