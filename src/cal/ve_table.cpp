#include "cal/ve_table.h"

namespace vantor {

const std::array<std::int32_t, kVeRows> kVeRpmAxis = {
    400,  500,  600,  700,  800,  900,  1000, 1100, 1200, 1300, 1400, 1500,
    1600, 1700, 1800, 1900, 2000, 2200, 2400, 2600, 2800, 3000, 3200, 3400,
    3600, 4000, 4400, 4800, 5200, 5600, 6000, 6500, 7000, 7500, 8000};

const std::array<std::int32_t, kVeColumns> kVeMapAxis = {20, 25, 30, 35, 40, 45, 50,
                                                         55, 60, 65, 70, 80, 90, 100};

VeTable::VeTable() {
  for (int c = 1; c <= kVeColumns; ++c) cells[0][c] = kVeMapAxis[c - 1];
  for (int r = 1; r <= kVeRows; ++r) cells[r][0] = kVeRpmAxis[r - 1];
}

}  // namespace vantor
