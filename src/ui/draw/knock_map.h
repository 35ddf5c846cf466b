#pragma once
// The spark knock map's accumulation: where in engine speed and manifold
// pressure knock occurred, in a standard grid and, with a 2- or 3-bar MAP
// sensor under boost, a boost grid; four statistics per cell in hundredths.
// Also the running total of knock counts that the gauge display's bar shows.

#include <array>
#include <atomic>
#include <cstdint>

namespace vantor::ui {

constexpr int kStandardRows = 22;  // row 0 and column 0 hold the axes
constexpr int kStandardColumns = 13;
constexpr int kBoostRows = 18;
constexpr int kBoostColumns = 12;
constexpr std::uint32_t kCellLimit = 25500;

constexpr std::array<int, kStandardColumns> kStandardMapAxis{0, 20, 30, 40, 50, 60, 70, 75, 80, 85, 90, 95, 100};
constexpr std::array<int, kStandardRows> kStandardRpmAxis{0,    400,  600,  800,  1000, 1200, 1400, 1600,
                                                          1800, 2000, 2200, 2400, 2800, 3200, 3600, 4000,
                                                          4400, 4800, 5200, 5600, 6000, 6375};
constexpr std::array<int, kBoostColumns> kBoostAxis{0, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200};
constexpr std::array<int, kBoostRows> kBoostRpmAxis{0,    0,    400,  800,  1200, 1600, 2000, 2400, 2800,
                                                    3200, 3600, 4000, 4400, 4800, 5200, 5600, 6000, 6375};

enum class KnockStatistic { Average = 0, Peak = 1, Total = 2, Counts = 3 };
enum class KnockGrid { Standard = 0, Boost = 1 };

struct KnockCell {
  int row = 1;
  int column = 1;
};

// MAP of the axis: the load byte's kPa rounded, at most 100.
int KnockAxisMap(std::uint8_t loadCode);
// Boost in kPa above 100 by the MAP sensor type, 0 when there is none; the
// MAP shown becomes the sensor's kPa rounded when there is boost.
struct KnockBoost {
  int boost = 0;
  int mapShown = 0;
};
KnockBoost KnockBoostOf(int mapSensorBar, std::uint8_t mapCode, int axisMap);

KnockCell StandardCell(double rpm, int axisMap);
KnockCell BoostCell(double rpm, int boost, int mapSensorBar);
// Counter increase from previous to current; a wrap counts 65535 - previous + current.
unsigned KnockDelta(unsigned previous, unsigned current);

using StandardGrid = std::array<std::array<std::uint32_t, kStandardColumns>, kStandardRows>;
using BoostGrid = std::array<std::array<std::uint32_t, kBoostColumns>, kBoostRows>;

class KnockMap {
 public:
  // One frame: the operating point, and knock into the grid of the moment.
  void AddFrame(const std::uint8_t* frame, double rpm, bool engineRunning, int mapSensorBar);
  void Clear();

  std::uint32_t Cell(KnockGrid grid, KnockStatistic statistic, int row, int column) const;
  KnockCell CurrentCell(KnockGrid grid) const { return grid == KnockGrid::Boost ? boostCell_ : standardCell_; }
  KnockGrid ActiveGrid() const { return boostActive_ ? KnockGrid::Boost : KnockGrid::Standard; }
  int MapShown() const { return mapShown_; }
  // Any thread: the running total of knock counts.
  unsigned Total() const { return total_.load(std::memory_order_relaxed); }

 private:
  void Accumulate(std::uint32_t amount, std::uint8_t retardCode);
  std::uint32_t& CellRef(KnockGrid grid, KnockStatistic statistic, int row, int column);

  std::array<StandardGrid, 4> standard_{};
  std::array<BoostGrid, 4> boost_{};
  KnockCell standardCell_;
  KnockCell boostCell_;
  bool boostActive_ = false;
  int mapShown_ = 0;
  unsigned previousCount_ = 0;
  std::atomic<unsigned> total_{0};
};

}  // namespace vantor::ui
