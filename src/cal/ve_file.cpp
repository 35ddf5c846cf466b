#include "cal/ve_file.h"

#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "cal/cal_image.h"
#include "cal/stdio_file.h"

namespace vantor {
namespace {

// A run of whole rows stored one after another from offset.
struct VeBlock {
  long offset;
  int firstRow;
  int lastRow;
};

// Reading takes block 2's slot 15 (row 32) too; block 3 supersedes it.
constexpr std::array<VeBlock, 3> kReadBlocks = {{{0x000C, 1, 16}, {0x00FD, 17, 32}, {0x0E03, 31, 35}}};
// Writing fills both copies of the seam rows 17 and 31.
constexpr std::array<VeBlock, 3> kWriteBlocks = {{{0x000C, 1, 17}, {0x00FD, 17, 31}, {0x0E03, 31, 35}}};

// Stops early, without error, where the file ends.
bool ReadBlock(StdioFile& file, const VeBlock& block, VeTable* table, bool* ended) {
  const int rows = block.lastRow - block.firstRow + 1;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(rows) * kVeColumns);
  if (!file.Seek(block.offset)) return false;
  const std::size_t got = file.Read(bytes.data(), bytes.size());
  if (got < bytes.size() && std::ferror(file.Get())) return false;
  for (std::size_t i = 0; i < got; ++i) {
    const int row = block.firstRow + static_cast<int>(i / kVeColumns);
    table->At(row, 1 + static_cast<int>(i % kVeColumns)) = bytes[i];
  }
  *ended = got < bytes.size();
  return true;
}

bool WriteBlock(StdioFile& file, const VeBlock& block, const VeTable& table) {
  std::vector<std::uint8_t> bytes;
  for (int r = block.firstRow; r <= block.lastRow; ++r)
    for (int c = 1; c <= kVeColumns; ++c) bytes.push_back(static_cast<std::uint8_t>(table.At(r, c)));
  return file.Seek(block.offset) && file.Write(bytes.data(), bytes.size());
}

bool Exists(const std::string& path) { return static_cast<bool>(StdioFile(path, "rb")); }

// The new file as a copy of the source, 0xFF past the source's end. A copy
// that fails leaves no file.
bool CopyPadded(const std::string& sourcePath, const std::string& newPath) {
  std::vector<std::uint8_t> image(kCalImageSize, 0xFF);
  {
    StdioFile source(sourcePath, "rb");
    if (!source) return false;
    source.Read(image.data(), image.size());
    if (std::ferror(source.Get())) return false;
  }
  StdioFile target(newPath, "wb");
  if (!target) return false;
  if (target.Write(image.data(), image.size()) && target.Close()) return true;
  target.Close();
  std::remove(newPath.c_str());
  return false;
}

bool WriteWord(StdioFile& file, long offset, std::uint16_t value) {
  const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
  return file.Seek(offset) && file.Write(bytes, 2);
}

// Sum of every byte from offset 8 to the end of the file as it stands.
bool SumFromChecksumStart(StdioFile& file, std::uint16_t* sum) {
  if (std::fflush(file.Get()) != 0 || !file.Seek(static_cast<long>(kChecksumStart))) return false;
  std::vector<std::uint8_t> rest(kCalImageSize);
  std::uint32_t total = 0;
  std::size_t got;
  while ((got = file.Read(rest.data(), rest.size())) > 0)
    for (std::size_t i = 0; i < got; ++i) total += rest[i];
  if (std::ferror(file.Get())) return false;
  *sum = static_cast<std::uint16_t>(total);
  return true;
}

// The generation, both copies of every learned cell and the checksum.
bool UpdateCells(const std::string& path, std::uint16_t generation, const VeTable& learned) {
  StdioFile file(path, "r+b");
  if (!file) return false;
  if (!WriteWord(file, 0, static_cast<std::uint16_t>(generation + 1))) return false;
  for (const VeBlock& block : kWriteBlocks)
    if (!WriteBlock(file, block, learned)) return false;
  std::uint16_t sum = 0;
  if (!SumFromChecksumStart(file, &sum) || !WriteWord(file, 6, sum)) return false;
  return file.Close();
}

}  // namespace

SignatureCheck CheckSignature(const std::string& path, BinReader reader) {
  SignatureCheck check;
  StdioFile file(path, "rb");
  if (!file) return check;
  std::uint8_t head[6] = {};
  const std::size_t got = file.Read(head, sizeof head);
  if (got == sizeof head && std::memcmp(head + 2, "ORV9", 4) == 0) {
    check.status = SignatureStatus::Bin;
    check.generation = static_cast<std::uint16_t>(head[0] << 8 | head[1]);
    return check;
  }
  check.status = SignatureStatus::NotABin;
  check.text = reader == BinReader::MainProgram ? kNotABinMain : kNotABinUpdate;
  check.caption = kNotABinCaption;
  return check;
}

bool ReadVeTable(const std::string& path, VeTable* table) {
  StdioFile file(path, "rb");
  if (!file) return false;
  for (const VeBlock& block : kReadBlocks) {
    bool ended = false;
    if (!ReadBlock(file, block, table, &ended)) return false;
    if (ended) break;
  }
  return file.Close();
}

bool WriteVeTable(const std::string& sourcePath, const std::string& newPath, std::uint16_t generation,
                  const VeTable& learned, VeWriteBase base) {
  // Built under a working name and renamed over the new file, so a crash or
  // a full disk leaves the earlier new file whole, never a mixture.
  const bool fresh = base == VeWriteBase::FreshCopyOfSource || !Exists(newPath);
  const std::string working = newPath + ".part";
  const bool ok = CopyPadded(fresh ? sourcePath : newPath, working) && UpdateCells(working, generation, learned);
  std::error_code error;
  if (ok) std::filesystem::rename(working, newPath, error);
  if (!ok || error) {
    std::filesystem::remove(working, error);
    return false;
  }
  return true;
}

}  // namespace vantor
