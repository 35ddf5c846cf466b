// The User Device dialog driven as a user would on the recording host.

#include "ui/window/user_devices_dialog.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/fake_host.h"
#include "live/adc_channels.h"

namespace vantor::ui {
namespace {

using test::FakeWindow;
using U = UserDevicesDialog;

const std::string kModified = "This device entry has been modified.\n\nDo you want to save the changes?";

// Types text at the end of the edit, one key at a time, as the keyboard does.
void TypeKeys(FakeWindow& dialog, int edit, const std::string& text) {
  dialog.FocusTo(edit);
  dialog.Type(edit, "");
  for (char c : text) dialog.Type(edit, dialog.Text(edit) + c);
}

class UserDevicesTest : public ::testing::Test {
 protected:
  UserDevicesTest() {
    for (int slot = 0; slot < kUserDeviceCount; ++slot) settings.userDevices[slot].slot = slot;
    UserDevicesDialog::RememberedSlot() = 0;
  }
  void Run(const std::function<void(FakeWindow&)>& drive) {
    host.OnNextDialog(drive);
    SettingsDialogHost links;
    links.writeSettings = [this] { ++writes; };
    links.rebuildChannels = [this](bool drop) {
      if (drop) adc.DropDeletedDeviceChannels(settings);
      adc.BuildActiveChannels(settings);
    };
    links.redraw = [] {};
    links.settingsChanged = [this] { ++changed; };
    UserDevicesDialog(settings, links, host).Run(nullptr);
  }
  void UseSlotTwoOnChannelThree() {
    UserDevice& device = settings.userDevices[2];
    device.active = 1;
    device.name = "Boost";
    device.unit = "PSI";
    settings.adcChannels[3] = AdcChannel{kChannelUserDevice, 2, 2, "Boost", 100, 1, 0};
    adc.BuildActiveChannels(settings);
  }

  test::FakeHost host;
  Settings settings;
  AdcChannels adc;
  int writes = 0, changed = 0;
};

TEST_F(UserDevicesTest, TypedCharactersAreFilteredWithABeep) {
  struct Case {
    int edit;
    const char* typed;
    const char* shown;
    int beeps;
  };
  const Case cases[] = {{U::kVoltsJ, "1.2.3", "1.23", 1}, {U::kVoltsJ, "-1", "-1", 0},
                        {U::kReadingK, "-12-3", "-123", 1}, {U::kPlaces, "-", "", 1}};
  Run([&](FakeWindow& dialog) {
    EXPECT_EQ(dialog.FocusedControl(), U::kName);
    for (const Case& c : cases) {
      dialog.FocusTo(c.edit);  // leaving the edit before may beep; that is the other test's
      host.beeps = 0;
      TypeKeys(dialog, c.edit, c.typed);
      EXPECT_EQ(dialog.Text(c.edit), c.shown) << c.typed;
      EXPECT_EQ(host.beeps, c.beeps) << c.typed;
    }
  });
}

TEST_F(UserDevicesTest, LeavingAnEditChecksItsValue) {
  struct Case {
    int edit;
    const char* typed;
    const char* shown;  // an accepted text stays as typed
    bool beeps;
  };
  const Case cases[] = {{U::kVoltsK, "7", "5.000", true},          {U::kVoltsK, "", "0.000", true},
                        {U::kVoltsK, "2.5", "2.5", false},         {U::kReadingJ, "12345", "9999.9999", true},
                        {U::kReadingJ, "-1000", "-999.9999", true}, {U::kReadingJ, "-12.34567", "-12.34567", false},
                        {U::kPlaces, "7", "4", true}};
  Run([&](FakeWindow& dialog) {
    for (const Case& c : cases) {
      TypeKeys(dialog, c.edit, c.typed);
      host.beeps = 0;
      dialog.FocusTo(U::kName);
      EXPECT_EQ(dialog.Text(c.edit), c.shown) << c.typed;
      EXPECT_EQ(host.beeps > 0, c.beeps) << c.typed;
      dialog.FireTimer(1);
      EXPECT_EQ(dialog.FocusedControl(), c.beeps ? c.edit : U::kName) << c.typed;  // the focus goes back
    }
  });
}

TEST_F(UserDevicesTest, ApplyStoresRoundedValues) {
  Run([](FakeWindow& dialog) {
    TypeKeys(dialog, U::kName, "Oil Pressure");
    TypeKeys(dialog, U::kUnit, "PSIG");  // the configuration keeps three characters
    EXPECT_EQ(dialog.Text(U::kVoltsForJ), "Volts for PSIG of  ");
    TypeKeys(dialog, U::kVoltsJ, "1.001");
    TypeKeys(dialog, U::kReadingJ, "0");
    TypeKeys(dialog, U::kVoltsK, "4.5");
    TypeKeys(dialog, U::kReadingK, "100.0001");
    TypeKeys(dialog, U::kPlaces, "2");
    dialog.Click(U::kApply);
    EXPECT_EQ(dialog.Find(U::kSlots)->items[0], "Oil Pressure");
  });
  const UserDevice& device = settings.userDevices[0];
  EXPECT_EQ(device.active, 1);
  EXPECT_EQ(device.unit, "PSI");
  EXPECT_EQ(device.voltJ, 1001);
  EXPECT_EQ(device.voltK, 4500);
  EXPECT_EQ(device.unitK, 1000001);
  EXPECT_EQ(device.precision, 2);
}

TEST_F(UserDevicesTest, SwitchingSlotsAsksAboutUnsavedEdits) {
  struct Case {
    BoxAnswer answer;
    const char* stored;
    int changed;
  };
  const Case cases[] = {{BoxAnswer::No, "-Available Device Entry-", 0}, {BoxAnswer::Yes, "Fuel Level", 1}};
  for (const Case& c : cases) {
    settings = Settings{};
    changed = 0;
    Run([&](FakeWindow& dialog) {
      TypeKeys(dialog, U::kName, "Fuel Level");
      host.AnswerBox(c.answer);
      dialog.Choose(U::kSlots, 5);
      EXPECT_EQ(host.boxes.back().text, kModified);
      EXPECT_EQ(settings.userDevices[0].name, c.stored);
      EXPECT_EQ(dialog.Text(U::kName), kNewDeviceName);
      dialog.Click(U::kClose);
    });
    EXPECT_EQ(changed, c.changed);  // "Yes" counts as applied
    EXPECT_EQ(UserDevicesDialog::RememberedSlot(), 5);
    UserDevicesDialog::RememberedSlot() = 0;
  }
}

// What the channels make of it is the channel list's; the dialog hands it over on close.
TEST_F(UserDevicesTest, DeletingADeviceAChannelUsesResetsTheChannelOnClose) {
  UseSlotTwoOnChannelThree();
  Run([&](FakeWindow& dialog) {
    dialog.Choose(U::kSlots, 2);
    EXPECT_EQ(dialog.Text(U::kName), "Boost");
    dialog.Click(U::kDelete);
    EXPECT_EQ(settings.adcChannels[3].type, kChannelUserDevice);  // until the dialog closes
  });  // Escape
  EXPECT_EQ(settings.adcChannels[3].type, kChannelNone);
  EXPECT_EQ(writes, 1);
}

}  // namespace
}  // namespace vantor::ui
