// The Preferences dialog driven as a user would on the recording host.

#include "ui/window/preferences_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/fake_host.h"
#include "settings/settings_io.h"
#include "settings/settings_table.h"

namespace vantor::ui {
namespace {

using test::FakeWindow;
using P = PreferencesDialog;

enum : int { kCelsius = 1006, kFahrenheit = 1007, kMinCts = 1013, kMaxCts = 1014, kMaxSpeed = 1019, kMaxTach = 1020,
             kAuto = 1032 };

std::string Text(Settings settings) { return SettingsText(MainProgramSettingsTable(), &settings); }

class PreferencesTest : public ::testing::Test {
 protected:
  // Opens the dialog and drives it; Escape closes what the drive leaves open.
  void Run(const std::function<void(FakeWindow&)>& drive) {
    host.OnNextDialog(drive);
    PreferencesDialog(settings, Links(), host).Run(nullptr);
  }
  SettingsDialogHost Links() {
    SettingsDialogHost links;
    links.writeSettings = [this] { ++writes; };
    links.rebuildChannels = [this](bool) { ++rebuilds; };
    links.redraw = [] {};
    links.settingsChanged = [this] { ++changed; };
    return links;
  }

  test::FakeHost host;
  Settings settings;
  int writes = 0, rebuilds = 0, changed = 0;
};

// The rules and their edges are the settings tests'; this shows the fields are wired.
TEST_F(PreferencesTest, TypedRangesAreCorrectedOnOk) {
  Run([&](FakeWindow& dialog) {
    EXPECT_FALSE(dialog.Find(P::kApply)->enabled);
    dialog.Type(kMaxTach, "7777");
    EXPECT_TRUE(dialog.Find(P::kApply)->enabled);
    dialog.Click(P::kOk);
  });
  EXPECT_EQ(settings.rpmRange, 8000);
  EXPECT_EQ(writes, 1);
}

TEST_F(PreferencesTest, LearnLimitsFollowTheTemperatureScaleBothWays) {
  struct Case {
    int scale;  // stored: 1 C, 0 F
    int lower, upper;
    int chosen;
    const char* shownLower;
    const char* shownUpper;
  };
  const Case cases[] = {{0, 176, 230, kCelsius, "80", "110"},
                        {1, 220, 0, kFahrenheit, "428", "32"}};  // the upper end of the range survives
  for (const Case& c : cases) {
    settings.temperScale = c.scale;
    settings.lrnLwr = c.lower;
    settings.lrnUpr = c.upper;
    Run([&](FakeWindow& dialog) {
      dialog.Click(c.chosen);
      EXPECT_EQ(dialog.Text(kMinCts), c.shownLower) << c.chosen << c.lower;
      EXPECT_EQ(dialog.Text(kMaxCts), c.shownUpper);
      EXPECT_EQ(dialog.Text(1025), c.chosen == kCelsius ? "°C" : "°F");
      dialog.Click(P::kOk);
    });
    EXPECT_EQ(settings.temperScale, 1 - c.scale);
    EXPECT_EQ(settings.lrnLwr, std::stoi(c.shownLower));
  }
  EXPECT_EQ(changed, 2);  // a scale change makes the Analysis table rebuild
}

TEST_F(PreferencesTest, PreferredBoxesAreExclusivePerColumn) {
  struct Case {
    std::vector<int> wbClicks, fuelClicks;
    int wb, fuel;  // the one channel left ticked, -1 none
  };
  const Case cases[] = {{{5, 5}, {}, -1, -1}, {{1, 7}, {1, 6}, 7, 6}};
  for (const Case& c : cases) {
    settings = Settings{};
    Run([&](FakeWindow& dialog) {
      dialog.Choose(P::kTabs, 1);
      for (int channel : c.wbClicks) dialog.Click(AdcPage::WbId(channel));
      for (int channel : c.fuelClicks) dialog.Click(AdcPage::FuelId(channel));
      dialog.Click(P::kOk);
    });
    for (int channel = 0; channel < kAdcChannelCount; ++channel) {
      EXPECT_EQ(settings.adcChannels[channel].wbPreferred, channel == c.wb ? 1 : 0);
      EXPECT_EQ(settings.adcChannels[channel].fpPreferred, channel == c.fuel ? 1 : 0);
    }
  }
}

TEST_F(PreferencesTest, AdcPageShowsAndStoresDevicesAndFilters) {
  settings.adcChannels[4] = AdcChannel{kChannelWideband, 1, 2, "DIY-WB Non-Linear", 30, 0, 0};
  Run([&](FakeWindow& dialog) {
    dialog.Choose(P::kTabs, 1);
    EXPECT_EQ(dialog.FocusedControl(), AdcPage::DeviceId(0));
    EXPECT_EQ(dialog.Text(AdcPage::DeviceId(4)), "DIY-WB Non-Linear");  // not TT-1, which shares its code
    EXPECT_EQ(dialog.Text(AdcPage::FilterId(4)), "    70 %");
    dialog.Choose(AdcPage::FilterId(1), 9);
    dialog.Choose(AdcPage::DeviceId(1), 18);  // "None", 15 controllers, then the senders: the third
    dialog.Click(P::kApply);
    EXPECT_EQ(settings.adcChannels[1].filter, 10);
    EXPECT_EQ(settings.adcChannels[1].type, kChannelFuelPressure);
    EXPECT_EQ(settings.adcChannels[1].index, 3);
    EXPECT_EQ(settings.adcChannels[4].index, 2);
    EXPECT_EQ(rebuilds, 1);
  });
}

TEST_F(PreferencesTest, CancelChangesNothing) {
  const std::string before = Text(settings);
  Run([](FakeWindow& dialog) {
    dialog.Type(kMaxTach, "3000");
    dialog.Click(kFahrenheit);
    dialog.Click(kAuto);
  });  // Escape
  EXPECT_EQ(Text(settings), before);
  EXPECT_EQ(writes, 0);
  EXPECT_EQ(rebuilds, 1);  // the channels are rebuilt on every close
  EXPECT_EQ(changed, 0);
}

TEST_F(PreferencesTest, APageLeftByATabSwitchStaysAppliedAfterCancel) {
  Run([](FakeWindow& dialog) {
    dialog.Type(kMaxSpeed, "200");
    dialog.Choose(P::kTabs, 1);
    dialog.Click(P::kCancel);
  });
  EXPECT_EQ(settings.mphRange, 200);
  EXPECT_EQ(writes, 0);
}

}  // namespace
}  // namespace vantor::ui
