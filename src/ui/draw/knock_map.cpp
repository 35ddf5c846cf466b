#include "ui/draw/knock_map.h"

#include <algorithm>

#include "live/live_frame.h"

namespace vantor::ui {
namespace {

constexpr unsigned kCountsPerKnock = 63;

int Truncate(double value) { return static_cast<int>(value); }

}  // namespace

int KnockAxisMap(std::uint8_t loadCode) { return std::min(Truncate(loadCode * 0.3125 + 20.0 + 0.5), 100); }

KnockBoost KnockBoostOf(int mapSensorBar, std::uint8_t mapCode, int axisMap) {
  KnockBoost result{0, axisMap};
  if (mapSensorBar != 2 && mapSensorBar != 3) return result;
  const double kpa = mapSensorBar == 2 ? mapCode * 0.7705 + 8.0 : mapCode * 1.2335 + 1.1;
  const double ceiling = mapSensorBar == 2 ? 100.0 : 200.0;
  const int boost = Truncate(std::min(kpa - 100.0 + 0.5, ceiling));
  if (boost < 1) return result;
  return KnockBoost{boost, Truncate(kpa + 0.5)};
}

KnockCell StandardCell(double rpm, int axisMap) {
  const int r = static_cast<int>(std::clamp(rpm, 400.0, 6375.0)) / 25;
  KnockCell cell;
  cell.row = r < 104 ? Truncate((r - 12) / 8.0 + 1) : Truncate((r - 104) / 16.0 + 12);
  cell.column = axisMap < 72 ? Truncate((axisMap - 15) / 10.0 + 1) : Truncate((axisMap - 73) / 5.0 + 7);
  cell.row = std::clamp(cell.row, 1, kStandardRows - 1);
  cell.column = std::clamp(cell.column, 1, kStandardColumns - 1);
  return cell;
}

KnockCell BoostCell(double rpm, int boost, int mapSensorBar) {
  const int r = static_cast<int>(std::clamp(rpm, 400.0, 6375.0)) / 25;
  KnockCell cell;
  cell.row = Truncate((r + 8) / 16.0 + 1);
  if (mapSensorBar == 2) cell.column = Truncate((boost + 5) / 10.0 + 1);
  if (mapSensorBar == 3) cell.column = Truncate((boost / 2.0 + 5) / 10.0 + 1);
  cell.row = std::clamp(cell.row, 1, kBoostRows - 1);
  cell.column = std::clamp(cell.column, 1, kBoostColumns - 1);
  return cell;
}

unsigned KnockDelta(unsigned previous, unsigned current) {
  return current >= previous ? current - previous : 65535 - previous + current;
}

void KnockMap::AddFrame(const std::uint8_t* frame, double rpm, bool engineRunning, int mapSensorBar) {
  const int axisMap = KnockAxisMap(frame[frame::kLoadMap]);
  const KnockBoost boost = KnockBoostOf(mapSensorBar, frame[frame::kMap], axisMap);
  mapShown_ = boost.mapShown;
  const unsigned count = frame::Word(frame, frame::kKnockCount);
  if (!engineRunning) {
    previousCount_ = count;
    return;
  }
  standardCell_ = StandardCell(rpm, axisMap);
  boostCell_ = BoostCell(rpm, boost.boost, mapSensorBar);
  const unsigned delta = KnockDelta(previousCount_, count);
  previousCount_ = count;
  std::uint32_t amount = 0;
  if (delta != 0) {
    const unsigned counts = delta / kCountsPerKnock;
    total_.store((total_.load(std::memory_order_relaxed) + counts) & 0xFFFF, std::memory_order_relaxed);
    amount = counts * 100;
  }
  boostActive_ = !(mapSensorBar == 1 || frame[frame::kBoost] == 0);
  if (amount != 0) Accumulate(amount, frame[frame::kRetard]);
}

void KnockMap::Accumulate(std::uint32_t amount, std::uint8_t retardCode) {
  const KnockGrid grid = ActiveGrid();
  const KnockCell at = CurrentCell(grid);
  std::uint32_t& counts = CellRef(grid, KnockStatistic::Counts, at.row, at.column);
  counts = std::min(counts + amount, kCellLimit);
  const auto retard = static_cast<std::uint32_t>(retardCode * 0.17578125 * 100);
  const std::uint32_t v = std::min(retard + 50, kCellLimit);
  std::uint32_t& average = CellRef(grid, KnockStatistic::Average, at.row, at.column);
  average = average == 0 ? v : (average + v) >> 1;
  std::uint32_t& peak = CellRef(grid, KnockStatistic::Peak, at.row, at.column);
  peak = std::max(peak, v);
  std::uint32_t& total = CellRef(grid, KnockStatistic::Total, at.row, at.column);
  total = std::min(total + v, kCellLimit);
}

void KnockMap::Clear() {
  for (StandardGrid& grid : standard_)
    for (auto& row : grid) row.fill(0);
  for (BoostGrid& grid : boost_)
    for (auto& row : grid) row.fill(0);
  total_.store(0, std::memory_order_relaxed);
}

std::uint32_t KnockMap::Cell(KnockGrid grid, KnockStatistic statistic, int row, int column) const {
  const auto s = static_cast<std::size_t>(statistic);
  if (grid == KnockGrid::Boost)
    return boost_[s][static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  return standard_[s][static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

std::uint32_t& KnockMap::CellRef(KnockGrid grid, KnockStatistic statistic, int row, int column) {
  const auto s = static_cast<std::size_t>(statistic);
  if (grid == KnockGrid::Boost)
    return boost_[s][static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  return standard_[s][static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

}  // namespace vantor::ui
