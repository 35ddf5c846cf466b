#include "cal/bank_file.h"

#include <vector>

#include "cal/cal_image.h"

namespace vantor {
namespace {

bool AppendFillerAndTail(StdioFile& file) {
  const std::vector<std::uint8_t> filler(kFillerSize, 0xFF);
  const auto& tail = TailTemplate();
  return file.Seek(0, SEEK_END) && file.Write(filler.data(), filler.size()) &&
         file.Write(tail.data(), tail.size());
}

// Balances against the checksum found in the file itself (the ECM's).
bool BalanceFile(StdioFile& file) {
  const long size = file.Size();
  if (size < static_cast<long>(kBalanceFromEnd)) return false;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (!file.Seek(0) || file.Read(bytes.data(), bytes.size()) != bytes.size()) return false;
  const std::size_t area = bytes.size() - kBalanceFromEnd;
  std::fill_n(bytes.begin() + static_cast<long>(area), kBalanceSize, 0x00);
  const std::uint16_t target = static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
  const auto fixUp = BalanceBytes(Sum(bytes.data(), kChecksumStart, bytes.size() - 1), target);
  return file.Seek(static_cast<long>(area)) && file.Write(fixUp.data(), fixUp.size());
}

}  // namespace

bool CompleteBankFile(StdioFile& file) {
  const bool appended = AppendFillerAndTail(file);
  return BalanceFile(file) && appended;
}

}  // namespace vantor
