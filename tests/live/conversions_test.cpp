// Sensor conversions: worked examples, device curves and the lookup tables.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "live/conversions.h"
#include "live/live_frame.h"
#include "live/sensor_temp_tables.h"
#include "live/wideband_tables.h"

namespace vantor {
namespace {

TEST(FrameConversions, WorkedExamples) {
  EXPECT_DOUBLE_EQ(PercentCode(256), 100.0);
  EXPECT_DOUBLE_EQ(O2Millivolts(100), 442.0);
  EXPECT_DOUBLE_EQ(PulsesPerMile(4000), 230.23);
  EXPECT_EQ(PulsesPerMile(0), 0.0);
  EXPECT_DOUBLE_EQ(RpmStep12(40), 500.0);
  EXPECT_DOUBLE_EQ(RpmStep25(100), 2500.0);
  EXPECT_DOUBLE_EQ(RpmStep31(100), 3125.0);
  EXPECT_DOUBLE_EQ(Speed(100, 0), 100.0);
  EXPECT_DOUBLE_EQ(Speed(100, 1), 160.9344);
  EXPECT_DOUBLE_EQ(LoadKpa(0), 20.0);
  EXPECT_DOUBLE_EQ(Map1Bar(100), 47.315);
  EXPECT_DOUBLE_EQ(Map2Bar(100), 85.05);
  EXPECT_DOUBLE_EQ(Map3Bar(100), 124.45);
  EXPECT_DOUBLE_EQ(Boost2Bar(100), 62.5);
  EXPECT_DOUBLE_EQ(Boost3Bar(100), 123.35);
  EXPECT_DOUBLE_EQ(Vacuum(256), 0.0);
  EXPECT_DOUBLE_EQ(Tenths(138), 13.8);
  EXPECT_DOUBLE_EQ(SparkDegrees(64), 22.5);
  EXPECT_DOUBLE_EQ(RetardDegrees(64), 11.25);
  EXPECT_DOUBLE_EQ(PulseMs(65536), 1000.0);
}

TEST(FrameConversions, TemperatureCodeFollowsTheScaleSetting) {
  EXPECT_DOUBLE_EQ(TempCodeF(40), 14.0);
  EXPECT_DOUBLE_EQ(TempCodeC(40), -10.0);
  EXPECT_DOUBLE_EQ(TempCode(40, 0), 14.0);
  EXPECT_DOUBLE_EQ(TempCode(40, 1), -10.0);
  EXPECT_EQ(TempCode(40, 2), 0.0);
  EXPECT_DOUBLE_EQ(CelsiusToF(100), 212.0);
  EXPECT_DOUBLE_EQ(FahrenheitToC(212), 100.0);
}

std::vector<std::uint8_t> Frame() { return std::vector<std::uint8_t>(273, 0); }

TEST(FrameConversions, DutyCycle) {
  auto frame = Frame();
  frame[frame::kBasePw] = 0x01;  // 256 x 0.0152587890625 = 3.90625 ms
  EXPECT_EQ(DutyCycle(frame.data()), 0.0);  // rpm 0
  frame[frame::kRpmCoarse31] = 40;
  frame[frame::kRpmCoarse27] = 255;
  frame[frame::kRpmCoarse28] = 120;  // 3000 rpm: one injection every 40 ms
  EXPECT_NEAR(DutyCycle(frame.data()), 3.90625 / 40.0 * 100.0, 1e-9);
  frame[frame::kBasePw] = 0xFF;
  EXPECT_EQ(DutyCycle(frame.data()), 255.0);
}

TEST(AdcDevices, VoltsOfACount) {
  EXPECT_DOUBLE_EQ(AdcVolts(0), 0.004);
  EXPECT_NEAR(AdcVolts(1023), 5.004, 1e-12);
}

TEST(AdcDevices, LinearWidebands) {
  EXPECT_NEAR(WidebandAfr(1, 0), 10.008, 1e-12);  // TT-1
  EXPECT_EQ(WidebandAfr(0, 500), 0.0);             // No Device
  EXPECT_NEAR(WidebandAfr(5, 1023), 1.4 * 5.004 + 9, 1e-9);
  EXPECT_NEAR(WidebandAfr(7, 0), 3.008 * 0.004 + 7.35, 1e-12);
  EXPECT_NEAR(WidebandAfr(10, 0), 9.608, 1e-12);
  EXPECT_NEAR(WidebandAfr(11, 0), 10.0064, 1e-12);
  EXPECT_EQ(WidebandAfr(16, 0), 0.0);
  EXPECT_EQ(WidebandDevices()[14].name, std::string("   WB0a  "));
}

TEST(AdcDevices, DiyCurve) {
  EXPECT_EQ(DiyWidebandAfr(1.0), 0.0);
  EXPECT_NEAR(DiyWidebandAfr(2.5), 14.7, 1e-12);
  EXPECT_NEAR(DiyWidebandAfr(1.5), 1.0 / (0.028340964 + 1 / 14.7), 1e-12);
  EXPECT_NEAR(DiyWidebandAfr(2.75), 1.0 / (-0.25 * 0.049034882 + 1 / 14.7), 1e-12);
  EXPECT_EQ(DiyWidebandAfr(3.0), 25.5);
}

TEST(AdcDevices, FuelPressureSendersAreLimited) {
  // Counts for about 0.3 V and 4.9 V.
  EXPECT_EQ(FuelPressurePsi(2, 61), 0.0);
  EXPECT_EQ(FuelPressurePsi(2, 1002), 30.0);
  EXPECT_NEAR(FuelPressurePsi(2, 512), (AdcVolts(512) - 0.5) * 30 / 4, 1e-12);
  EXPECT_EQ(FuelPressurePsi(3, 1023), 99.9);
  EXPECT_EQ(FuelPressurePsi(4, 0), 0.0);
  EXPECT_NEAR(FuelPressurePsi(4, 1023), 4.0 * 24.908668, 1e-9);
  EXPECT_EQ(FuelPressurePsi(5, 1023), 30.0);
  EXPECT_NEAR(FuelPressurePsi(5, 512), AdcVolts(512) * 6, 1e-12);
  EXPECT_EQ(FuelPressurePsi(6, 100), 0.0);
  EXPECT_NEAR(FuelPressurePsi(6, 512), (AdcVolts(512) - 1) * 25, 1e-12);
  EXPECT_EQ(FuelPressurePsi(7, 512), 0.0);  // the NULL entry
  EXPECT_EQ(FuelPressureDevices()[7].name, std::string("     NULL      "));
}

TEST(WidebandTables, TellingPoints) {
  const auto& wb0 = WidebandTableWb0();
  EXPECT_EQ(WidebandTableAfr(wb0, 0.4), 10.0);
  EXPECT_EQ(WidebandTableAfr(wb0, 0.46), 10.1);
  EXPECT_EQ(WidebandTableAfr(wb0, 2.48), 14.7);
  EXPECT_EQ(WidebandTableAfr(wb0, 3.14), 20.0);
  EXPECT_EQ(WidebandTableAfr(wb0, 3.15), 25.5);
  EXPECT_EQ(WidebandTableAfr(wb0, 0.39), 0.0);
  const auto& wb1 = WidebandTableWb1();
  EXPECT_EQ(WidebandTableAfr(wb1, 1.19), 10.0);
  EXPECT_EQ(WidebandTableAfr(wb1, 1.235), 10.1);
  EXPECT_EQ(WidebandTableAfr(wb1, 2.51), 14.7);
  EXPECT_EQ(WidebandTableAfr(wb1, 2.92), 20.0);
  const auto& znl = WidebandTableZnl();
  EXPECT_EQ(WidebandTableAfr(znl, 0.41), 10.0);
  EXPECT_EQ(WidebandTableAfr(znl, 2.5), 14.7);
  EXPECT_EQ(WidebandTableAfr(znl, 3.13), 20.0);
  const auto& fjo = WidebandTableFjo();
  EXPECT_EQ(WidebandTableAfr(fjo, 0.8), 10.0);
  EXPECT_EQ(WidebandTableAfr(fjo, 0.84), 10.1);
  EXPECT_EQ(WidebandTableAfr(fjo, 2.5), 14.7);
  EXPECT_EQ(WidebandTableAfr(fjo, 3.1), 20.0);
  const auto& wb0a = WidebandTableWb0a();
  EXPECT_EQ(WidebandTableAfr(wb0a, 0.4), 9.6);
  EXPECT_EQ(WidebandTableAfr(wb0a, 2.57), 14.7);
  EXPECT_EQ(WidebandTableAfr(wb0a, 3.14), 19.2);
  const auto& wb1a = WidebandTableWb1a();
  EXPECT_EQ(WidebandTableAfr(wb1a, 1.19), 9.6);
  EXPECT_EQ(WidebandTableAfr(wb1a, 2.565), 14.7);
  EXPECT_EQ(WidebandTableAfr(wb1a, 2.92), 19.2);
}

TEST(WidebandTables, ShapeOfEveryTable) {
  for (const WidebandTable* table :
       {&WidebandTableWb0(), &WidebandTableWb1(), &WidebandTableZnl(), &WidebandTableFjo(),
        &WidebandTableWb0a(), &WidebandTableWb1a()}) {
    EXPECT_EQ((*table)[0].afr, 0.0);
    EXPECT_EQ((*table)[0].volts, 0.0);
    EXPECT_EQ((*table)[102].afr, 25.5);
    EXPECT_EQ((*table)[102].volts, 99.9);
    for (int i = 1; i < kWidebandTableSize; ++i) {
      EXPECT_LE((*table)[i - 1].volts, (*table)[i].volts) << i;
      EXPECT_LE((*table)[i - 1].afr, (*table)[i].afr) << i;
    }
  }
  for (int i = 1; i <= 101; ++i) {
    EXPECT_NEAR(WidebandTableWb0()[i].afr, 10.0 + (i - 1) * 0.1, 1e-9);
    EXPECT_EQ(WidebandTableWb0a()[i].volts, WidebandTableWb0()[i].volts);
    EXPECT_EQ(WidebandTableWb1a()[i].volts, WidebandTableWb1()[i].volts);
    EXPECT_NEAR(WidebandTableWb0a()[i].afr, WidebandTableWb0()[i].afr * 0.96, 0.05 + 1e-9);
  }
}

TEST(WidebandTables, NearestPointWithoutInterpolation) {
  const auto& wb0 = WidebandTableWb0();
  double between = (wb0[50].volts + wb0[51].volts) / 2;
  EXPECT_EQ(WidebandTableAfr(wb0, between - 1e-6), wb0[50].afr);
  EXPECT_EQ(WidebandTableAfr(wb0, between + 1e-6), wb0[51].afr);
}

TEST(WidebandTables, SharedVoltageChoosesTheEarlierPointBelowIt) {
  WidebandTable table = WidebandTableWb0();
  table[31].volts = table[30].volts;  // two neighbours at one voltage
  EXPECT_EQ(WidebandTableAfr(table, table[30].volts - 1e-6), table[30].afr);
  EXPECT_EQ(WidebandTableAfr(table, (table[29].volts + table[30].volts) / 2 + 1e-6),
            table[30].afr);
  double upper = table[31].volts + (table[32].volts - table[31].volts) / 2;
  EXPECT_EQ(WidebandTableAfr(table, upper - 1e-6), table[31].afr);
}

TEST(WidebandTables, DevicesUseTheirTables) {
  // Device 12 is WB0: a count of 81 is 0.3999 V, just below its first point.
  EXPECT_EQ(WidebandAfr(12, 81), 0.0);
  EXPECT_EQ(WidebandAfr(12, 82), 10.0);
  EXPECT_EQ(WidebandAfr(12, 1023), 25.5);
  EXPECT_EQ(WidebandAfr(3, 0), 0.0);
}

TEST(SensorTempTables, TellingRowsAndShape) {
  for (unsigned count = 0; count <= 15; ++count) EXPECT_EQ(SensorTemp(count, 0), 255) << count;
  EXPECT_EQ(SensorTemp(120, 0), 161);
  EXPECT_EQ(SensorTemp(0, 1), 255);
  EXPECT_EQ(SensorTemp(1, 1), 253);
  EXPECT_EQ(SensorTemp(2, 1), 251);
  EXPECT_EQ(SensorTemp(120, 2), 84);
  for (int table = 0; table < 3; ++table) {
    EXPECT_EQ(SensorTemp(0, table), 255);
    EXPECT_EQ(SensorTemp(255, table), 0);
    for (unsigned count = 1; count < 256; ++count) {
      EXPECT_LE(SensorTemp(count, table), SensorTemp(count - 1, table)) << table << " " << count;
    }
  }
}

TEST(SensorTempTables, CoolantTableChoice) {
  EXPECT_EQ(CoolantSensorTemp(120, 0x01), 161);
  EXPECT_EQ(CoolantSensorTemp(110, 0x00), 84);
  EXPECT_EQ(CoolantSensorTemp(250, 0x00), 0);
}

}  // namespace
}  // namespace vantor
