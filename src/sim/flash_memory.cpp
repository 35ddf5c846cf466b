#include "sim/flash_memory.h"

#include <algorithm>
#include <cstring>

namespace vantor::sim {

bool ValidBank(int bank) { return bank >= 0 && bank < kBankCount; }

FlashMemory::FlashMemory() : memory_(kBankSize * kBankCount, 0xFF) {}

bool FlashMemory::EraseSector(int sector) {
  if (sector < 0 || sector >= kBankCount * kSectorsPerBank) return false;
  std::fill_n(memory_.begin() + static_cast<std::ptrdiff_t>(sector * kSectorSize), kSectorSize, 0xFF);
  return true;
}

bool FlashMemory::ProgramPage(int bank, int page, const std::uint8_t* data) {
  if (!ValidBank(bank) || page < 0 || page >= kPagesPerBank) return false;
  std::uint8_t* cell = memory_.data() + BankOffset(bank) + static_cast<std::size_t>(page) * kPageSize;
  for (std::size_t i = 0; i < kPageSize; ++i) cell[i] &= data[i];
  return true;
}

bool FlashMemory::LoadBank(int bank, const std::uint8_t* data, std::size_t size) {
  if (!ValidBank(bank) || size != kBankSize) return false;
  std::memcpy(memory_.data() + BankOffset(bank), data, kBankSize);
  return true;
}

std::vector<std::uint8_t> FlashMemory::CopyBank(int bank) const {
  const std::uint8_t* start = Bank(bank);
  return std::vector<std::uint8_t>(start, start + kBankSize);
}

}  // namespace vantor::sim
