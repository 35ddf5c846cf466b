#include "update/saved_bank_check.h"

#include <algorithm>

#include "cal/cal_image.h"
#include "update/path_line.h"

namespace vantor {
namespace {

bool SamePage(const std::uint8_t* a, const std::uint8_t* b) { return std::equal(a, a + kCalPageSize, b); }

bool ErasedPage(const std::uint8_t* page) {
  return std::all_of(page, page + kCalPageSize, [](std::uint8_t byte) { return byte == 0xFF; });
}

}  // namespace

bool HoldsSavedCalibration(const std::uint8_t* module, const std::uint8_t* saved, const std::uint8_t* converted) {
  for (std::size_t at = 0; at < kCalibrationSize; at += kCalPageSize) {
    const std::uint8_t* page = module + at;
    if (!SamePage(page, saved + at) && !SamePage(page, converted + at) && !ErasedPage(page)) return false;
  }
  return true;
}

std::vector<std::string> ForeignSavedFilesAdvice(const std::string& folder, std::size_t width) {
  return {"The saved Bank_0_old.bin ... Bank_7_old.bin are not from this ECM.",
          "Move them out of the folder", PathLine("  ", folder, width),
          "and run the update again: this ECM's calibrations are then read afresh."};
}

}  // namespace vantor
