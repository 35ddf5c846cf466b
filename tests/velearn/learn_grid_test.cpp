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

// The small kernel's weights show in the averages below.
TEST(LearnGridTest, LargeKernelIsAPyramidOfOneToFive) {
  for (const auto& [i, j, weight] : {std::tuple{1, 4, 1}, {2, 4, 2}, {8, 4, 5}, {16, 4, 1}, {8, 0, 1}})
    EXPECT_EQ(LargeKernelWeight(i, j), weight) << i << "," << j;
}

class LearnGridFill : public ::testing::Test {
 protected:
  // Fills the bin rows and columns away from the centre bin of rpm (below 6000) and map.
  void Put(int rpm, int map, int rows, int columns, std::uint32_t value, std::uint32_t hits) {
    const int rpmBin = (rpm - 400) / 25 + rows, mapBin = map - 20 + columns;
    grid->value[rpmBin][mapBin] = value;
    grid->hits[rpmBin][mapBin] = hits;
  }
  std::unique_ptr<LearnGrid> grid = std::make_unique<LearnGrid>();
};

TEST_F(LearnGridFill, RunningAverageHalvesTowardsEachSample) {
  grid->Add(10, 20, 140);
  EXPECT_EQ(grid->value[10][20], 140u);
  grid->Add(10, 20, 131);
  EXPECT_EQ(grid->value[10][20], 135u);  // (140 + 131) / 2 truncated
  EXPECT_EQ(grid->hits[10][20], 2u);
}

// 2400 RPM uses the small kernel, centre weight 5; from 70 kPa on it spans nine columns.
TEST_F(LearnGridFill, AverageIsWeightedByKernelOnceFifteenWeightedHitsAreIn) {
  Put(2400, 70, 0, 0, 140, 2);  // 10 weighted hits
  Put(2400, 70, 1, 0, 140, 1);  // weight 4: 14 in all
  EXPECT_EQ(NeighbourhoodAverage(*grid, 2400, 70), 0u);
  Put(2400, 70, 0, 4, 100, 1);  // the edge column, weight 1: 15
  EXPECT_EQ(NeighbourhoodAverage(*grid, 2400, 70), (140u * 9 + 100u) / 10);
}

// 8000 RPM: centre bin 288, the large kernel covers 280..296, only 280..287 exist.
TEST_F(LearnGridFill, EightThousandRpmRowUsesOnlyTheBinsInsideTheGrid) {
  for (int bin = 270; bin < kRpmBins; ++bin) {
    grid->value[bin][60] = bin < 280 ? 200 : 140;
    grid->hits[bin][60] = 20;
  }
  EXPECT_EQ(NeighbourhoodAverage(*grid, 8000, 80), 140u);
}

}  // namespace
}  // namespace vantor
