#pragma once
// VeTable: the 35 x 14 VE table with its fixed axes. Row 0 holds the MAP axis
// and column 0 the RPM axis, so labels and cells are addressed alike.

#include <array>
#include <cstdint>

namespace vantor {

constexpr int kVeRows = 35;     // RPM rows 1..35
constexpr int kVeColumns = 14;  // MAP columns 1..14

extern const std::array<std::int32_t, kVeRows> kVeRpmAxis;
extern const std::array<std::int32_t, kVeColumns> kVeMapAxis;

struct VeTable {
  VeTable();  // axes filled, cells 0
  std::array<std::array<std::int32_t, kVeColumns + 1>, kVeRows + 1> cells{};

  std::int32_t& At(int row, int column) { return cells[row][column]; }
  std::int32_t At(int row, int column) const { return cells[row][column]; }
};

}  // namespace vantor
