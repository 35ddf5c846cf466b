// The BIN reader: signature check, the VE table through its mapping, a new
// VE BIN written from it, and the balance rule over the image.
#include <algorithm>
#include <cstdio>

#include "cal/cal_image.h"
#include "cal/ve_file.h"
#include "fuzz/fuzz_input_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = vantor::fuzz::InputFile("input.bin", data, size);
  vantor::CheckSignature(path, vantor::BinReader::MainProgram);
  vantor::CheckSignature(path, vantor::BinReader::UpdateUtility);
  vantor::VeTable table;
  if (vantor::ReadVeTable(path, &table)) {
    const std::string newPath = vantor::fuzz::ScratchPath("input_new.bin");
    std::remove(newPath.c_str());
    vantor::WriteVeTable(path, newPath, 0xFFFF, table);
    std::remove(newPath.c_str());
  }

  vantor::CalImage image;
  std::copy_n(data, std::min(size, vantor::kCalImageSize), image.Data());
  vantor::VeTable cells;
  image.ReadVeTable(&cells);
  image.WriteVeTable(cells);
  const std::uint16_t target = image.Checksum();
  image.Balance(target);
  // The balance reaches the target, or fills the area with 0xFF when it cannot.
  bool saturated = true;
  for (std::size_t i = 0; i < vantor::kBalanceSize; ++i) saturated = saturated && image[vantor::kBalanceOffset + i] == 0xFF;
  if (image.ImageSum() != target && !saturated) __builtin_trap();
  return 0;
}
