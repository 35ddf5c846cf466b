// The analogue channels: user device arithmetic, filter, labels, formatting,
// preferred channels, the device list and the deleted-device reset.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>

#include "live/adc_catalogue.h"
#include "live/adc_channels.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "settings/settings.h"
#include "support/log_builder.h"

namespace vantor {
namespace {

using FrameBytes = testlog::FrameData;

FrameBytes ChannelFrame(int channel, unsigned raw, FrameBytes frame = {}) {
  testlog::SetWord(frame, frame::kAdcChannels + 2 * channel, raw);
  return frame;
}

// 0.5 V reads 0, 4.5 V reads 100.0, shown in a field of 4 with 1 decimal.
UserDevice Gauge(int slot) {
  return {.active = 1, .slot = slot, .name = "Oil pressure", .unit = "PSI", .voltJ = 500, .voltK = 4500,
          .unitJ = 0, .unitK = 1000000, .width = 4, .precision = 1};
}

// The line through the two points, held at its ends; equal voltages read the lower unit value.
TEST(UserDeviceReading, LineThroughTheTwoPoints) {
  const UserDevice gauge = Gauge(0);
  UserDevice swapped = gauge, flat = gauge;
  std::swap(swapped.unitJ, swapped.unitK);
  flat.voltK = flat.voltJ;
  flat.unitJ = 250000;
  flat.unitK = -50000;
  const struct {
    const UserDevice& device;
    double volts, reading;
  } cases[] = {{gauge, 2.5, 50.0}, {gauge, 5.0, 100.0}, {gauge, 0.1, 0.0},
               {swapped, 0.5, 0.0}, {swapped, 2.5, 50.0}, {flat, 4.0, -5.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(UserDeviceReading(c.device, c.volts), c.reading) << c.volts;
}

struct Rig {
  void Assign(int c, std::int32_t type, std::int32_t index, std::int32_t code, const std::string& name) {
    AdcChannel& channel = settings.adcChannels[c];
    channel.type = type;
    channel.index = index;
    channel.code = code;
    channel.name = name;
  }
  void Process(const FrameBytes& frame, bool draw = true) { channels.ProcessAdcChannels(frame.data(), draw, live); }

  Settings settings;
  AdcChannels channels;
  LiveData live;
};

// A user device's text stays within 15 characters; negative device results count as 0.
TEST(AdcChannels, LabelsColumnWidthsAndTexts) {
  Rig rig;
  rig.settings.userDevices[2] = Gauge(2);
  rig.settings.userDevices[5] = Gauge(5);
  rig.settings.userDevices[5].width = rig.settings.userDevices[5].precision = 10;
  rig.Assign(0, kChannelWideband, 1, 1, "TT-1");
  rig.Assign(1, kChannelFuelPressure, 2, 1, "AutoMeter 30");
  rig.Assign(3, kChannelUserDevice, 2, 2, "Oil pressure");
  rig.Assign(4, kChannelUserDevice, 5, 5, "Wide");
  rig.Assign(5, kChannelFuelPressure, 4, 5, "BM_fp");
  rig.channels.BuildActiveChannels(rig.settings);
  EXPECT_STREQ(rig.channels.Channel(3).label, " PSI_3");
  EXPECT_EQ(rig.channels.Channel(-1).active + rig.channels.Channel(kAdcChannelCount).active, 0) << "no such channel";
  rig.Process(ChannelFrame(4, 1023, ChannelFrame(3, 512)));
  EXPECT_STREQ(rig.channels.Channel(4).text, "  100.000000000");
  EXPECT_EQ(rig.channels.Channel(5).value, 0.0);
  ActiveChannel oil = rig.channels.Channel(3);
  // 512 counts = 2.506 V: 50.15 psi in a field of 4 + 1 + 1.
  EXPECT_STREQ(oil.text, "  50.2");
  EXPECT_EQ(oil.columnWidth, 6);
  EXPECT_STREQ(rig.channels.Channel(1).text, " 0.0");
}

TEST(AdcChannels, IndexOutsideItsCatalogueLeavesTheChannelInactive) {
  struct Case {
    std::int32_t type, index;
    int active;
  };
  const Case cases[] = {{kChannelWideband, 15, 1},    {kChannelWideband, 16, 0},   {kChannelWideband, 0, 0},
                        {kChannelFuelPressure, 7, 0}, {kChannelUserDevice, 16, 0}, {5, 1, 0}};
  for (const Case& c : cases) {
    Rig rig;
    rig.Assign(2, c.type, c.index, c.index, "x");
    rig.settings.adcChannels[2].wbPreferred = 1;
    rig.channels.BuildActiveChannels(rig.settings);
    EXPECT_EQ(rig.channels.Channel(2).active, c.active) << c.type << " " << c.index;
    rig.Process(ChannelFrame(2, 1023));  // reads no table past its end
  }
}

TEST(AdcChannels, FilterArithmetic) {
  // Previous 10.0, reading 20.0, weight 30 -> 13.0; weights below 1 count as 1.
  Rig rig;
  UserDevice flat = Gauge(0);
  flat.voltK = flat.voltJ;
  flat.unitJ = flat.unitK = 100000;  // always 10.0
  rig.settings.userDevices[0] = flat;
  rig.Assign(2, kChannelUserDevice, 0, 0, "flat");
  rig.channels.BuildActiveChannels(rig.settings);
  rig.Process(ChannelFrame(2, 0));
  EXPECT_DOUBLE_EQ(rig.channels.Channel(2).value, 10.0);
  rig.settings.userDevices[0].unitJ = rig.settings.userDevices[0].unitK = 200000;
  rig.settings.adcChannels[2].filter = 30;
  rig.channels.BuildActiveChannels(rig.settings);
  rig.Process(ChannelFrame(2, 0));
  rig.Process(ChannelFrame(2, 0));
  // From 0.0: 6.0, then 0.3 x 20 + 0.7 x 6 = 10.2.
  EXPECT_NEAR(rig.channels.Channel(2).value, 10.2, 1e-9);
  rig.settings.adcChannels[2].filter = 0;
  rig.channels.BuildActiveChannels(rig.settings);
  rig.Process(ChannelFrame(2, 0));
  EXPECT_NEAR(rig.channels.Channel(2).value, 0.2, 1e-9);
}

TEST(AdcChannels, PreferredChannelsFeedLiveData) {
  Rig rig;
  rig.Assign(1, kChannelWideband, 1, 1, "TT-1 WB      (0V=10:1 - 5V=20:1)");
  rig.Assign(6, kChannelFuelPressure, 6, 6, "1-5V:      0-100 psi (1.0 - 5.0V) ");
  rig.Assign(7, kChannelWideband, 4, 3, "AEM WB");
  rig.settings.adcChannels[1].wbPreferred = 1;
  rig.settings.adcChannels[6].fpPreferred = 1;
  rig.channels.BuildActiveChannels(rig.settings);
  EXPECT_EQ(rig.channels.PreferredWbChannel(), 1);
  EXPECT_EQ(rig.channels.PreferredFpChannel(), 6);
  EXPECT_EQ(rig.channels.PreferredWbName(), "TT-1 WB     ");
  EXPECT_EQ(rig.channels.PreferredFpName(), "1-5V:      0");
  const FrameBytes frame = ChannelFrame(7, 0x80, ChannelFrame(6, 512, ChannelFrame(1, 1023)));  // 7: not preferred
  rig.Process(frame, false);
  EXPECT_NEAR(rig.live.wbAfr, 2 * 5.004 + 10, 1e-9);
  EXPECT_NEAR(rig.live.fuelPressure, (512 * 5.0 / 1023 + 0.004 - 1) * 25, 1e-9);
  // Of two flagged channels the higher one is preferred.
  rig.settings.adcChannels[7].wbPreferred = 1;
  rig.channels.BuildActiveChannels(rig.settings);
  EXPECT_EQ(rig.channels.PreferredWbChannel(), 7);
  EXPECT_EQ(rig.channels.PreferredWbName(), "AEM WB");
}

TEST(AdcChannels, DeletedDeviceResetsItsChannelAndPreference) {
  Rig rig;
  rig.settings.userDevices[3] = Gauge(3);
  rig.Assign(0, kChannelUserDevice, 3, 3, "old name");
  rig.settings.adcChannels[0].wbPreferred = 1;
  rig.settings.adcChannels[0].filter = 40;
  rig.channels.BuildActiveChannels(rig.settings);
  ASSERT_EQ(rig.channels.PreferredWbChannel(), 0);
  rig.settings.userDevices[3].active = 0;
  rig.channels.DropDeletedDeviceChannels(rig.settings);
  const AdcChannel& reset = rig.settings.adcChannels[0];
  EXPECT_EQ(std::tie(reset.type, reset.index, reset.code, reset.filter, reset.wbPreferred, reset.name),
            std::make_tuple(kChannelNone, 0, 0, 100, 0, std::string("None")));
  EXPECT_EQ(rig.channels.PreferredWbChannel(), -1);
}

TEST(DeviceList, OrderAndContents) {
  Settings settings;
  settings.userDevices[9] = Gauge(9);
  settings.userDevices[1] = Gauge(1);
  settings.userDevices[1].name = "EGT";
  DeviceList list = BuildDeviceList(settings);
  ASSERT_EQ(list.count, 1 + 15 + 6 + 2);
  const std::pair<int, DeviceListEntry> expected[] = {{22, {kChannelUserDevice, 1, 1, "EGT"}}};
  for (const auto& [i, e] : expected) {
    const DeviceListEntry& got = list.entries[i];
    EXPECT_EQ(std::tie(got.category, got.index, got.code, got.name), std::tie(e.category, e.index, e.code, e.name)) << i;
  }
  settings.userDevices[1].active = 0;
  list = BuildDeviceList(settings);
  const struct {
    std::int32_t type, code, index;
    int entry;
  } stored[] = {{kChannelWideband, 7, 0, 12},  // index not stored
                {kChannelFuelPressure, 1, 2, 17}, {kChannelUserDevice, 9, 9, 22}, {kChannelUserDevice, 3, 3, 0},  // deleted
                {kChannelWideband, 55, 1, 0}, {kChannelWideband, 1, 2, 2}, {kChannelWideband, 1, 1, 1}};  // DIY and TT-1 share code 1
  for (const auto& c : stored) EXPECT_EQ(FindDeviceListEntry(list, c.type, c.code, c.index), c.entry) << c.code;
}

}  // namespace
}  // namespace vantor
