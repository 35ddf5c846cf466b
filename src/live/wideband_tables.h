#pragma once
// The nearest-point tables of the non-linear wideband controllers:
// 103 (AFR, volts) pairs each, volts non-decreasing.

#include <array>

namespace vantor {

struct WidebandPoint {
  double afr;
  double volts;
};

constexpr int kWidebandTableSize = 103;
using WidebandTable = std::array<WidebandPoint, kWidebandTableSize>;

const WidebandTable& WidebandTableWb0();
const WidebandTable& WidebandTableWb1();
const WidebandTable& WidebandTableZnl();
const WidebandTable& WidebandTableFjo();
const WidebandTable& WidebandTableWb0a();
const WidebandTable& WidebandTableWb1a();

// AFR of the table point nearest to volts; 0.0 below the first point, 25.5
// above the last.
double WidebandTableAfr(const WidebandTable& table, double volts);

}  // namespace vantor
