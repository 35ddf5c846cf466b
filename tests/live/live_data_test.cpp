// ComputeRpm, the run time steps and the running qualifier.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "live/live_data.h"
#include "live/live_frame.h"

namespace vantor {
namespace {

using FrameBytes = std::array<std::uint8_t, 273>;

void PutWord(FrameBytes& frame, int offset, unsigned value) {
  frame[offset] = static_cast<std::uint8_t>(value >> 8);
  frame[offset + 1] = static_cast<std::uint8_t>(value);
}

FrameBytes PeriodFrame(int cylinders, unsigned period) {
  FrameBytes frame{};
  frame[frame::kEngineConfig] = static_cast<std::uint8_t>(cylinders);
  PutWord(frame, frame::kRefPeriod, period);
  return frame;
}

TEST(ComputeRpm, FromThePeriodByTheCylinderCount) {
  const struct {
    int cylinders;  // 0xC8: 8 cylinders with the sensor bits set
    unsigned period;
    int rpm;
  } cases[] = {{6, 13107, 100},       {6, 62415, 21},        {6, 65535, 0},        {6, 0, 0},
               {4, 1000, 1966},       {5, 1000, 1572},       {7, 1000, 1123},      {8, 1000, 983},
               {8, 983040 / 15, 0},   {8, 983040 / 16, 16},  {3, 1000, 0},         {9, 1000, 0},
               {0xC8, 1000, 983},     {8, 99, 9929},         {8, 98, 0},           {4, 197, 9980},
               {4, 196, 0}};  // 15 rpm is the floor; 10000 and more is too fast and reads as 0
  for (const auto& c : cases) EXPECT_EQ(ComputeRpm(PeriodFrame(c.cylinders, c.period).data()), c.rpm) << c.cylinders << " " << c.period;
}

TEST(ComputeRpm, FromTheCoarseBytes) {
  FrameBytes frame = PeriodFrame(6, 13107);
  frame[frame::kRpmCoarse31] = 40;
  EXPECT_EQ(ComputeRpm(frame.data()), 500);
  frame[frame::kRpmCoarse27] = 40;
  EXPECT_EQ(ComputeRpm(frame.data()), 900);
  frame[frame::kRpmCoarse27] = 1;
  EXPECT_EQ(ComputeRpm(frame.data()), 412);  // 12.5 truncated, then 400
  frame[frame::kRpmCoarse27] = 255;
  frame[frame::kRpmCoarse28] = 100;
  EXPECT_EQ(ComputeRpm(frame.data()), 2500);
  frame[frame::kRpmCoarse28] = 255;
  frame[frame::kRpmStep31] = 100;
  EXPECT_EQ(ComputeRpm(frame.data()), 3125);
  frame[frame::kRpmStep31] = 3;
  EXPECT_EQ(ComputeRpm(frame.data()), 93);
}

FrameBytes StatusFrame(bool running, unsigned runSeconds) {
  FrameBytes frame{};
  frame[frame::kStatus1] = running ? 0x80 : 0x00;
  PutWord(frame, frame::kRunTime, runSeconds);
  return frame;
}

// Feeds n frames and returns the frame number (1-based) at which the engine
// first counted as running, or 0.
int FramesUntilRunning(LiveData& live, const FrameBytes& frame, int n) {
  for (int i = 1; i <= n; ++i) {
    UpdateLiveData(live, frame.data());
    if (live.engineRunning == 1) return i;
  }
  return 0;
}

TEST(RunningQualifier, RunningFromThe35thFrame) {
  LiveData live;
  EXPECT_FALSE(UpdateLiveData(live, StatusFrame(true, 100).data()).endCatchUp);
  EXPECT_EQ(FramesUntilRunning(live, StatusFrame(true, 100), 50), 34);
  EXPECT_EQ(live.runCount, 34);
  EXPECT_EQ(live.runArmed, 1);
}

TEST(RunningQualifier, ClearFrameBeforeRunningNeitherCountsNorResets) {
  LiveData live;
  FrameBytes on = StatusFrame(true, 100);
  FrameBytes off = StatusFrame(false, 100);
  EXPECT_EQ(FramesUntilRunning(live, on, 20), 0);
  QualifierResult result = UpdateLiveData(live, off.data());
  EXPECT_FALSE(result.dropped);
  EXPECT_TRUE(result.endCatchUp);
  EXPECT_EQ(live.runCount, 19);
  EXPECT_EQ(FramesUntilRunning(live, on, 20), 15);
}

TEST(RunningQualifier, DropsOnAnyStopSignAndCountsAgain) {
  FrameBytes on = StatusFrame(true, 100);
  FrameBytes droppedBit = on;
  droppedBit[frame::kStatus0] = 0x10;
  for (const FrameBytes& stop : {StatusFrame(false, 100), droppedBit, StatusFrame(true, 0)}) {
    LiveData live;
    ASSERT_EQ(FramesUntilRunning(live, on, 35), 35);
    QualifierResult result = UpdateLiveData(live, stop.data());
    EXPECT_TRUE(result.dropped);
    EXPECT_FALSE(result.endCatchUp);
    EXPECT_EQ(live.engineRunning, 0);
    EXPECT_EQ(live.runArmed, 0);
    EXPECT_EQ(live.runCount, 0);
    EXPECT_EQ(FramesUntilRunning(live, on, 40), 35);
  }
}

TEST(RunningQualifier, NeverArmsAfterSixteenHours) {
  LiveData live;
  EXPECT_EQ(FramesUntilRunning(live, StatusFrame(true, 16 * 3600), 100), 0);
  EXPECT_EQ(live.runArmed, 0);
  EXPECT_EQ(FramesUntilRunning(live, StatusFrame(true, 16 * 3600 - 1), 100), 35);
}

TEST(RunTimeSteps, SplitsAndCountsFramesPerSecond) {
  LiveData live;
  FrameBytes frame = StatusFrame(false, 3 * 3600 + 25 * 60 + 7);
  UpdateLiveData(live, frame.data());
  EXPECT_EQ(live.runHours, 3);
  EXPECT_EQ(live.runMinutes, 25);
  EXPECT_EQ(live.runSeconds, 7);
  EXPECT_EQ(live.framesThisSecond, 0);
  UpdateLiveData(live, frame.data());
  UpdateLiveData(live, frame.data());
  EXPECT_EQ(live.framesThisSecond, 2);
  PutWord(frame, frame::kRunTime, 3 * 3600 + 25 * 60 + 8);
  UpdateLiveData(live, frame.data());
  EXPECT_EQ(live.framesThisSecond, 0);
}

TEST(ConfigurationStep, FieldsFromTheirBytes) {
  LiveData live;
  FrameBytes frame{};
  frame[frame::kEngineConfig] = 0xC8;
  frame[frame::kFirmware] = 0x13;
  frame[frame::kBankInfo] = 0x85;
  PutWord(frame, frame::kPromId, 0x1234);
  PutWord(frame, frame::kRefPeriod, 1000);
  UpdateLiveData(live, frame.data());
  EXPECT_EQ(live.cylinders, 8);
  EXPECT_EQ(live.mapSensorBar, 2);
  EXPECT_EQ(live.perCylinderFlow, 0);
  EXPECT_EQ(live.firmwareMinor, 3);
  EXPECT_EQ(live.isKdm9, 1);
  EXPECT_EQ(live.bankValid, 1);
  EXPECT_EQ(live.activeBank, 5);
  EXPECT_EQ(live.promId, 0x1234);
  EXPECT_EQ(live.rpm, 983);
  frame[frame::kEngineConfig] = 0x54;
  frame[frame::kBankInfo] = 0x03;
  UpdateLiveData(live, frame.data());
  EXPECT_EQ(live.cylinders, 4);
  EXPECT_EQ(live.mapSensorBar, 3);
  EXPECT_EQ(live.perCylinderFlow, 1);
  EXPECT_EQ(live.bankValid, 0);
  frame[frame::kEngineConfig] = 0x06;
  UpdateLiveData(live, frame.data());
  EXPECT_EQ(live.mapSensorBar, 1);
}

}  // namespace
}  // namespace vantor
