#include "cal/ve_file.h"

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "cal/cal_image.h"
#include "cal/stdio_file.h"
#include "platform/same_file.h"
#include "platform/working_file.h"

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

bool Exists(const std::string& path) { return static_cast<bool>(StdioFile(path, "rb")); }

// The first 32,768 bytes of path, 0xFF past its end.
bool ReadPadded(const std::string& path, CalImage* image) {
  StdioFile file(path, "rb");
  if (!file) return false;
  file.Read(image->Data(), kCalImageSize);
  return !std::ferror(file.Get());
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
  // The table learned from is never replaced by what was learned.
  if (IsSameFile(sourcePath, newPath)) return false;
  const bool fresh = base == VeWriteBase::FreshCopyOfSource || !Exists(newPath);
  auto image = std::make_unique<CalImage>();
  if (!ReadPadded(fresh ? sourcePath : newPath, image.get())) return false;
  image->SetGeneration(static_cast<std::uint16_t>(generation + 1));
  image->WriteVeTable(learned);
  image->SetChecksum(image->ImageSum());
  // Written whole under a name of its own and renamed over the new file, so
  // a crash or a full disk leaves the earlier new file whole, never a mixture.
  WorkingFile working;
  if (!working.Create(newPath)) return false;
  if (std::fwrite(image->Data(), 1, kCalImageSize, working.Get()) != kCalImageSize) return false;
  return working.Commit();
}

}  // namespace vantor
