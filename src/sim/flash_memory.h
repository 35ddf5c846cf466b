#pragma once
// Eight 32,768-byte banks of flash with the semantics of a real part:
// erasing a 4,096-byte sector sets it to 0xFF, programming can only clear bits.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantor::sim {

constexpr int kBankCount = 8;
constexpr std::size_t kBankSize = 32768;
constexpr std::size_t kSectorSize = 4096;
constexpr int kSectorsPerBank = static_cast<int>(kBankSize / kSectorSize);
constexpr std::size_t kPageSize = 128;
constexpr int kPagesPerBank = static_cast<int>(kBankSize / kPageSize);

class FlashMemory {
 public:
  FlashMemory();

  // sector = bank x 8 + index; false when out of range.
  bool EraseSector(int sector);
  // ANDs the page into the bank, as programming does.
  bool ProgramPage(int bank, int page, const std::uint8_t* data);
  // Replaces a bank's contents (start-up contents, test set-up).
  bool LoadBank(int bank, const std::uint8_t* data, std::size_t size);

  const std::uint8_t* Bank(int bank) const { return memory_.data() + BankOffset(bank); }
  std::vector<std::uint8_t> CopyBank(int bank) const;

 private:
  static std::size_t BankOffset(int bank) { return static_cast<std::size_t>(bank) * kBankSize; }
  std::vector<std::uint8_t> memory_;
};

bool ValidBank(int bank);

}  // namespace vantor::sim
