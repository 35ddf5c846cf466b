#include "velearn/learn_grid.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace vantor {
namespace {

TEST(LearnGridTest, BinsFollowTheRpmAndMapBytes) {
  EXPECT_EQ(MapBin(20), 0);
  EXPECT_EQ(MapBin(100), 80);
  EXPECT_EQ(MapBin(130), 80);          // MAP is limited to 100 kPa
  EXPECT_EQ(RpmBin(16, 0), 0);         // 400 RPM
  EXPECT_EQ(RpmBin(10, 0), 0);         // below 400 RPM: not negative
  EXPECT_EQ(RpmBin(239, 0), 223);      // 5975 RPM
  EXPECT_EQ(RpmBin(240, 192), 224);    // 6000 RPM through the high-RPM byte
  EXPECT_EQ(RpmBin(255, 255), 287);
}

TEST(LearnGridTest, KernelsArePyramidsOfOneToFive) {
  for (const auto& [i, j, weight] : {std::tuple{0, 4, 1}, {4, 4, 5}, {2, 3, 3}})
    EXPECT_EQ(SmallKernelWeight(i, j), weight) << i << "," << j;
  for (int j = 0; j < 9; ++j) {
    EXPECT_EQ(LargeKernelWeight(0, j), 1) << j;
    EXPECT_EQ(LargeKernelWeight(1, j), 1) << j;
  }
  for (const auto& [i, j, weight] : {std::tuple{2, 4, 2}, {7, 4, 4}, {8, 4, 5}, {16, 4, 1}, {8, 0, 1}})
    EXPECT_EQ(LargeKernelWeight(i, j), weight) << i << "," << j;
}

TEST(LearnGridTest, RunningAverageHalvesTowardsEachSample) {
  auto grid = std::make_unique<LearnGrid>();
  grid->Add(10, 20, 140);
  EXPECT_EQ(grid->value[10][20], 140u);
  grid->Add(10, 20, 131);
  EXPECT_EQ(grid->value[10][20], 135u);  // (140 + 131) / 2 truncated
  EXPECT_EQ(grid->hits[10][20], 2u);
}

// The centre weight of the small kernel is 5: three hits give 15 weighted hits,
// two give 10; with one neighbour of weight 4 and 1 hit: 14 or 15.
TEST(LearnGridTest, WeightedHitThresholdIsFifteen) {
  auto grid = std::make_unique<LearnGrid>();
  const int rpm = 2400, map = 60;                   // small kernel, rows and columns 0..8
  const int centreRpm = (rpm - 400) / 25, centreMap = map - 20;
  grid->value[centreRpm][centreMap] = 140;
  grid->hits[centreRpm][centreMap] = 2;             // 10 weighted hits
  grid->value[centreRpm + 1][centreMap] = 140;      // weight 4
  grid->hits[centreRpm + 1][centreMap] = 1;         // 14 in all
  EXPECT_EQ(NeighbourhoodAverage(*grid, rpm, map), 0u);
  grid->value[centreRpm + 4][centreMap] = 140;      // an edge bin of weight 1
  grid->hits[centreRpm + 4][centreMap] = 1;         // 15 in all
  EXPECT_EQ(NeighbourhoodAverage(*grid, rpm, map), 140u);
}

TEST(LearnGridTest, AverageIsWeightedByKernel) {
  auto grid = std::make_unique<LearnGrid>();
  const int rpm = 2400, map = 80;
  const int centreRpm = (rpm - 400) / 25, centreMap = map - 20;
  grid->value[centreRpm][centreMap] = 150;          // weight 5
  grid->hits[centreRpm][centreMap] = 10;
  grid->value[centreRpm][centreMap + 4] = 100;      // weight 1
  grid->hits[centreRpm][centreMap + 4] = 10;
  EXPECT_EQ(NeighbourhoodAverage(*grid, rpm, map), (150u * 5 + 100u) / 6);
}

// 8000 RPM: centre bin 288, the large kernel covers 280..296, only 280..287 exist.
TEST(LearnGridTest, EightThousandRpmRowUsesOnlyTheBinsInsideTheGrid) {
  auto grid = std::make_unique<LearnGrid>();
  const int map = 80;
  for (int bin = 270; bin < kRpmBins; ++bin) {
    grid->value[bin][map - 20] = bin < 280 ? 200 : 140;
    grid->hits[bin][map - 20] = 20;
  }
  EXPECT_EQ(NeighbourhoodAverage(*grid, 8000, map), 140u);
}

}  // namespace
}  // namespace vantor
