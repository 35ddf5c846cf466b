#pragma once
// A scratch directory per test, removed afterwards (read-only files included),
// whole-file reading and writing, and sample calibrations.

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace vantor::test {

class TempDir {
 public:
  TempDir() : path_(std::filesystem::temp_directory_path() / ("vantor_cal_" + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string File(const std::string& name) const { return (path_ / name).string(); }
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// The names in a directory: what a run left behind.
inline std::set<std::string> Names(const std::string& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) names.insert(entry.path().filename().string());
  return names;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
inline std::vector<std::uint8_t> ReadAll(const std::string& path) {
  const std::string text = ReadText(path);
  return std::vector<std::uint8_t>(text.begin(), text.end());
}
inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}
inline void WriteAll(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  WriteText(path, std::string(bytes.begin(), bytes.end()));
}

inline std::uint16_t SumBytes(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to) {
  std::uint32_t sum = 0;
  for (std::size_t i = from; i <= to && i < bytes.size(); ++i) sum += bytes[i];
  return static_cast<std::uint16_t>(sum);
}
inline std::uint16_t StoredChecksum(const std::vector<std::uint8_t>& bytes) {
  return static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
}

// A plausible calibration: signature, generation 7, the given layout, varied content, its checksum stored.
inline std::vector<std::uint8_t> SampleCalibration(unsigned seed, std::uint8_t major = 1, std::uint8_t minor = 0) {
  std::vector<std::uint8_t> bytes(8192);
  std::mt19937 random(seed);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  const std::uint8_t head[] = {0x00, 0x07, 'O', 'R', 'V', '9'};
  std::copy(std::begin(head), std::end(head), bytes.begin());
  bytes[9] = major;
  bytes[10] = minor;
  const std::uint16_t sum = SumBytes(bytes, 8, bytes.size() - 1);
  bytes[6] = static_cast<std::uint8_t>(sum >> 8);
  bytes[7] = static_cast<std::uint8_t>(sum);
  return bytes;
}

}  // namespace vantor::test
