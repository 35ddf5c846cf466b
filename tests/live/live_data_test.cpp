// What a frame becomes: ComputeRpm, the run time steps, the running qualifier,
// the sensor conversions, device curves and lookup tables.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <tuple>
#include <utility>

#include "live/conversions.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "live/sensor_temp_tables.h"
#include "live/wideband_tables.h"
#include "support/log_builder.h"

namespace vantor {
namespace {

using FrameBytes = testlog::FrameData;
using testlog::SetWord;

FrameBytes PeriodFrame(int cylinders, unsigned period) {
  FrameBytes frame{};
  frame[frame::kEngineConfig] = static_cast<std::uint8_t>(cylinders);
  SetWord(frame, frame::kRefPeriod, period);
  return frame;
}

TEST(ComputeRpm, FromThePeriodByTheCylinderCount) {
  const struct {
    int cylinders;  // 0xC8: 8 cylinders with the sensor bits set
    unsigned period;
    int rpm;
  } cases[] = {{6, 13107, 100},     {6, 65535, 0},       {6, 0, 0},       {4, 1000, 1966},
               {8, 983040 / 15, 0}, {8, 983040 / 16, 16}, {3, 1000, 0},    {9, 1000, 0},
               {0xC8, 1000, 983},   {8, 99, 9929},       {8, 98, 0},      {7, 44939, 24}};  // 15 rpm is the floor; 10000 and more is too fast and reads as 0
  for (const auto& c : cases) EXPECT_EQ(ComputeRpm(PeriodFrame(c.cylinders, c.period).data()), c.rpm) << c.cylinders << " " << c.period;
}

// Once byte 31 is set the coarse bytes count, each change on top of the last.
TEST(ComputeRpm, FromTheCoarseBytes) {
  FrameBytes frame = PeriodFrame(6, 13107);
  const struct {
    int offset, value, rpm;
  } steps[] = {{frame::kRpmCoarse31, 40, 500},   {frame::kRpmCoarse27, 40, 900},  {frame::kRpmCoarse27, 1, 412},
               {frame::kRpmCoarse27, 255, 412}, {frame::kRpmCoarse28, 100, 2500}, {frame::kRpmCoarse28, 255, 2500},
               {frame::kRpmStep31, 100, 3125},  {frame::kRpmStep31, 3, 93}};
  for (const auto& c : steps) {
    frame[c.offset] = static_cast<std::uint8_t>(c.value);
    if (c.value != 255) {
      EXPECT_EQ(ComputeRpm(frame.data()), c.rpm) << c.offset << " " << c.value;  // 412: 12.5 truncated, then 400
    }
  }
}

FrameBytes StatusFrame(bool running, unsigned runSeconds) {
  FrameBytes frame{};
  frame[frame::kStatus1] = running ? 0x80 : 0x00;
  SetWord(frame, frame::kRunTime, runSeconds);
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

// Running from the 35th frame; a clear frame before that neither counts nor resets.
TEST(RunningQualifier, RunningFromThe35thFrame) {
  LiveData live;
  const FrameBytes on = StatusFrame(true, 100);
  EXPECT_FALSE(UpdateLiveData(live, on.data()).endCatchUp);
  EXPECT_EQ(FramesUntilRunning(live, on, 50), 34);
  LiveData cleared;
  EXPECT_EQ(FramesUntilRunning(cleared, on, 20), 0);
  const QualifierResult result = UpdateLiveData(cleared, StatusFrame(false, 100).data());
  EXPECT_FALSE(result.dropped);
  EXPECT_TRUE(result.endCatchUp);
  EXPECT_EQ(cleared.runCount, 19);
  EXPECT_EQ(FramesUntilRunning(cleared, on, 20), 15);
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
    EXPECT_EQ(std::tie(live.engineRunning, live.runArmed, live.runCount), std::make_tuple(0, 0, 0));
    EXPECT_EQ(FramesUntilRunning(live, on, 40), 35);
  }
}

TEST(RunningQualifier, NeverArmsAfterSixteenHours) {
  LiveData live;
  EXPECT_EQ(FramesUntilRunning(live, StatusFrame(true, 16 * 3600), 100), 0);
  EXPECT_EQ(live.runArmed, 0);
}

TEST(UpdateLiveData, RunTimeFramesPerSecondAndConfiguration) {
  LiveData live;
  FrameBytes frame = StatusFrame(false, 3 * 3600 + 25 * 60 + 7);
  frame[frame::kEngineConfig] = 0xC8;
  frame[frame::kFirmware] = 0x13;
  frame[frame::kBankInfo] = 0x85;
  SetWord(frame, frame::kPromId, 0x1234);
  SetWord(frame, frame::kRefPeriod, 1000);
  for (int i = 0; i < 3; ++i) UpdateLiveData(live, frame.data());
  EXPECT_EQ(std::tie(live.runHours, live.runMinutes, live.runSeconds, live.framesThisSecond),
            std::make_tuple(3, 25, 7, 2));
  EXPECT_EQ(std::tie(live.cylinders, live.mapSensorBar, live.perCylinderFlow, live.firmwareMinor, live.isKdm9,
                     live.bankValid, live.activeBank, live.promId, live.rpm),
            std::make_tuple(8, 2, 0, 3, 1, 1, 5, 0x1234, 983));
  SetWord(frame, frame::kRunTime, 3 * 3600 + 25 * 60 + 8);
  frame[frame::kEngineConfig] = 0x54;
  frame[frame::kBankInfo] = 0x03;
  UpdateLiveData(live, frame.data());
  EXPECT_EQ(std::tie(live.framesThisSecond, live.cylinders, live.mapSensorBar, live.perCylinderFlow, live.bankValid),
            std::make_tuple(0, 4, 3, 1, 0));
  frame[frame::kEngineConfig] = 0x06;
  UpdateLiveData(live, frame.data());
  EXPECT_EQ(live.mapSensorBar, 1);
}

// ---- conversions ----

// {computed, expected}: each conversion's worked example.
void ExpectAll(std::initializer_list<std::pair<double, double>> cases) {
  int row = 0;
  for (const auto& [got, want] : cases) EXPECT_NEAR(got, want, 1e-9) << "row " << row++;
}

TEST(FrameConversions, WorkedExamples) {
  ExpectAll({{PercentCode(256), 100.0},  {PulsesPerMile(4000), 230.23}, {PulsesPerMile(0), 0.0},
             {Speed(100, 1), 160.9344},  {Map2Bar(100), 85.05},         {SparkDegrees(64), 22.5},
             {PulseMs(65536), 1000.0},   {TempCode(40, 0), 14.0},       {TempCode(40, 1), -10.0},
             {TempCode(40, 2), 0.0},     {CelsiusToF(100), 212.0},      {FahrenheitToC(212), 100.0}});
}

TEST(FrameConversions, DutyCycle) {
  FrameBytes frame{};
  frame[frame::kBasePw] = 0x01;  // 256 x 0.0152587890625 = 3.90625 ms
  EXPECT_EQ(DutyCycle(frame.data()), 0.0);  // rpm 0
  frame[frame::kRpmCoarse31] = 40;
  frame[frame::kRpmCoarse27] = 255;
  frame[frame::kRpmCoarse28] = 120;  // 3000 rpm: one injection every 40 ms
  EXPECT_NEAR(DutyCycle(frame.data()), 3.90625 / 40.0 * 100.0, 1e-9);
  frame[frame::kBasePw] = 0xFF;
  EXPECT_EQ(DutyCycle(frame.data()), 255.0);
}

// Counts 61 and 1002 are about 0.3 V and 4.9 V: a sender reads within its range.
TEST(AdcDevices, VoltsWidebandsAndLimitedFuelPressure) {
  ExpectAll({{AdcVolts(0), 0.004},
             {AdcVolts(1023), 5.004},
             {WidebandAfr(1, 0), 10.008},  // TT-1
             {WidebandAfr(0, 500), 0.0},   // No Device
             {WidebandAfr(16, 0), 0.0},
             {DiyWidebandAfr(1.0), 0.0},
             {DiyWidebandAfr(1.5), 1.0 / (0.028340964 + 1 / 14.7)},
             {DiyWidebandAfr(2.75), 1.0 / (-0.25 * 0.049034882 + 1 / 14.7)},
             {DiyWidebandAfr(3.0), 25.5},
             {FuelPressurePsi(2, 61), 0.0},
             {FuelPressurePsi(2, 1002), 30.0},
             {FuelPressurePsi(2, 512), (AdcVolts(512) - 0.5) * 30 / 4},
             {FuelPressurePsi(7, 512), 0.0}});
}

// The ends of the first table's points.
TEST(WidebandTables, EndsOfTheFirstTable) {
  ExpectAll({{WidebandTableAfr(WidebandTableWb0(), 0.4), 10.0},  {WidebandTableAfr(WidebandTableWb0(), 0.39), 0.0},
             {WidebandTableAfr(WidebandTableWb0(), 3.14), 20.0}, {WidebandTableAfr(WidebandTableWb0(), 3.15), 25.5}});
}

// The nearest point, without interpolation; of two neighbours at one voltage
// the earlier is chosen below it. Device 12 is WB0: a count of 81 is 0.3999 V,
// just below its first point.
TEST(WidebandTables, NearestPointAndTheDevicesThatUseTheTables) {
  WidebandTable table = WidebandTableWb0();
  double between = (table[50].volts + table[51].volts) / 2;
  EXPECT_EQ(WidebandTableAfr(table, between - 1e-6), table[50].afr);
  EXPECT_EQ(WidebandTableAfr(table, between + 1e-6), table[51].afr);
  table[31].volts = table[30].volts;
  EXPECT_EQ(WidebandTableAfr(table, table[30].volts - 1e-6), table[30].afr);
  EXPECT_EQ(WidebandTableAfr(table, (table[29].volts + table[30].volts) / 2 + 1e-6), table[30].afr);
  EXPECT_EQ(WidebandTableAfr(table, table[31].volts + (table[32].volts - table[31].volts) / 2 - 1e-6), table[31].afr);
  ExpectAll({{WidebandAfr(12, 81), 0.0}, {WidebandAfr(12, 82), 10.0}, {WidebandAfr(12, 1023), 25.5}, {WidebandAfr(3, 0), 0.0}});
}

// The sums pin every row as written down; the coolant table follows the flag.
TEST(SensorTempTables, SumsEndsAndTheCoolantFlag) {
  EXPECT_EQ(CoolantSensorTemp(120, 0x01), 161);  // the coolant table by the flag
  EXPECT_EQ(CoolantSensorTemp(110, 0x00), 84);
  EXPECT_EQ(CoolantSensorTemp(250, 0x00), 0);
  const int sums[] = {41100, 22790, 21868};
  for (int table = 0; table < 3; ++table) {
    int sum = 0;
    for (unsigned count = 0; count < 256; ++count) sum += SensorTemp(count, table);
    EXPECT_EQ(sum, sums[table]) << table;
    EXPECT_EQ(SensorTemp(0, table), 255);
    EXPECT_EQ(SensorTemp(255, table), 0);
  }
}

}  // namespace
}  // namespace vantor
