#include "ui/draw/knock_map.h"

#include <gtest/gtest.h>

#include <array>

#include "live/live_frame.h"
#include "ui/draw/knock_display.h"

namespace vantor::ui {
namespace {

TEST(KnockMap, StandardCellAtTheAxisEdges) {
  struct Case {
    double rpm;
    int map, row, column;
  };
  const Case cases[] = {
      {400, 20, 1, 1},     {2400, 50, 11, 4},  {2500, 50, 12, 4},  {6375, 100, 21, 12},
      {9000, 100, 21, 12}, {1000, 72, 4, 6},   {1000, 73, 4, 7},   {2600, 60, 12, 5},
  };
  for (const Case& c : cases) {
    const KnockCell cell = StandardCell(c.rpm, c.map);
    EXPECT_EQ(cell.row, c.row) << c.rpm << " rpm";
    EXPECT_EQ(cell.column, c.column) << c.map << " kPa";
  }
}

TEST(KnockMap, BoostCellAtTheAxisEdges) {
  struct Case {
    double rpm;
    int boost, mapSensorBar, row, column;
  };
  const Case cases[] = {
      {400, 0, 2, 2, 1},    {6375, 100, 2, 17, 11}, {3200, 200, 3, 9, 11},
      {3200, 15, 2, 9, 3},  {3200, 50, 1, 9, 1},
  };
  for (const Case& c : cases) {
    const KnockCell cell = BoostCell(c.rpm, c.boost, c.mapSensorBar);
    EXPECT_EQ(cell.row, c.row) << c.rpm << " rpm";
    EXPECT_EQ(cell.column, c.column) << c.boost << " kPa boost, " << c.mapSensorBar << " bar";
  }
}

TEST(KnockMap, AxisMapAndBoost) {
  EXPECT_EQ(KnockAxisMap(0), 20);
  EXPECT_EQ(KnockAxisMap(170), 73);
  EXPECT_EQ(KnockAxisMap(255), 100);
  struct Case {
    int mapSensorBar;
    std::uint8_t code;
    int boost, mapShown;
  };
  for (const Case& c : {Case{1, 255, 0, 60}, Case{2, 130, 8, 108}, Case{2, 100, 0, 60}, Case{3, 255, 200, 316}}) {
    const KnockBoost b = KnockBoostOf(c.mapSensorBar, c.code, 60);
    EXPECT_EQ(b.boost, c.boost) << c.mapSensorBar << " bar, code " << int{c.code};
    EXPECT_EQ(b.mapShown, c.mapShown);
  }
}

TEST(KnockMap, DeltaAcrossTheWrap) {
  struct Case {
    unsigned previous, current, delta;
  };
  for (const Case& c : {Case{65530, 5, 10}, Case{100, 100, 0}, Case{1, 0, 65534}})
    EXPECT_EQ(KnockDelta(c.previous, c.current), c.delta) << c.previous << " -> " << c.current;
}

class KnockMapTest : public ::testing::Test {
 protected:
  void Frame(unsigned count, std::uint8_t retard, bool running, double rpm = 2000) {
    frame[frame::kKnockCount] = static_cast<std::uint8_t>(count >> 8);
    frame[frame::kKnockCount + 1] = static_cast<std::uint8_t>(count);
    frame[frame::kRetard] = retard;
    map.AddFrame(frame.data(), rpm, running, mapSensorBar);
  }
  std::uint32_t At(KnockStatistic statistic) const {
    const KnockCell cell = map.CurrentCell(KnockGrid::Standard);
    return map.Cell(KnockGrid::Standard, statistic, cell.row, cell.column);
  }
  KnockMap map;
  int mapSensorBar = 1;
  std::array<std::uint8_t, 273> frame{};
};

TEST_F(KnockMapTest, FourStatisticsAndTheTotal) {
  Frame(1000, 0, false);  // knock before the engine runs is not counted
  Frame(1126, 57, true);  // 2 knocks at 10.02 degrees
  EXPECT_EQ(At(KnockStatistic::Counts), 200u);
  Frame(1189, 0, true);  // 1 knock at 0 degrees
  EXPECT_EQ(At(KnockStatistic::Counts), 300u);
  EXPECT_EQ(At(KnockStatistic::Average), 550u);
  EXPECT_EQ(At(KnockStatistic::Peak), 1051u);
  EXPECT_EQ(At(KnockStatistic::Total), 1101u);
  Frame(1251, 255, true);  // 62 counts: no knock
  EXPECT_EQ(At(KnockStatistic::Counts), 300u);
  EXPECT_EQ(map.Total(), 3u);
  EXPECT_EQ(KnockCellText(At(KnockStatistic::Average)), "  5 ");
  EXPECT_EQ(KnockCellText(0), "  . ");
}

TEST_F(KnockMapTest, CellsSaturateAndClearEmptiesThem) {
  Frame(0, 0, true);
  Frame(65000, 255, true);  // 1031 knocks at 44.8 degrees
  EXPECT_EQ(At(KnockStatistic::Counts), kCellLimit);
  EXPECT_EQ(At(KnockStatistic::Total), 4532u);
  map.Clear();
  EXPECT_EQ(At(KnockStatistic::Counts), 0u);
  EXPECT_EQ(map.Total(), 0u);
}

TEST_F(KnockMapTest, BoostGridOnlyWithBoostFromA2Or3BarSensor) {
  frame[frame::kBoost] = 40;
  Frame(0, 0, true);
  EXPECT_EQ(map.ActiveGrid(), KnockGrid::Standard);  // 1-bar sensor
  mapSensorBar = 2;
  Frame(0, 0, true);
  EXPECT_EQ(map.ActiveGrid(), KnockGrid::Boost);
  frame[frame::kBoost] = 0;
  Frame(0, 0, true);
  EXPECT_EQ(map.ActiveGrid(), KnockGrid::Standard);
}

}  // namespace
}  // namespace vantor::ui
