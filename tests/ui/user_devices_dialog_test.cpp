// The User Device dialog driven as a user would: typing (with the live
// filtering and its beep), leaving edits, Apply, Delete, switching slots, Close.
#if defined(VANTOR_HAS_UI_QT) && defined(VANTOR_HAS_QTEST)

#include "ui/qt/user_devices_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "live/adc_channels.h"
#include "qt_test_support.h"

namespace vantor::ui {
namespace {

class UserDevicesTest : public ::testing::Test {
 protected:
  UserDevicesTest() {
    test::TestApp();
    for (int slot = 0; slot < kUserDeviceCount; ++slot) settings.userDevices[slot].slot = slot;
    UserDevicesDialog::RememberedSlot() = 0;
  }
  void Open() {
    SettingsDialogHost host;
    host.writeSettings = [this] { ++writes; };
    host.rebuildChannels = [this](bool drop) {
      if (drop) adc.DropDeletedDeviceChannels(settings);
      adc.BuildActiveChannels(settings);
    };
    host.redraw = [] {};
    host.settingsChanged = [this] { ++changed; };
    host.beep = [this] { ++beeps; };
    dialog = std::make_unique<UserDevicesDialog>(settings, host);
    dialog->show();
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  }
  void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
  }
  // Leaves the edit for the name edit, as a click elsewhere would.
  void Leave() {
    dialog->NameEdit()->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
  }
  void ChooseSlot(int slot) {
    dialog->SlotList()->setCurrentIndex(slot);
    emit dialog->SlotList()->activated(slot);
  }
  void UseSlotTwoOnChannelThree() {
    UserDevice& device = settings.userDevices[2];
    device.active = 1;
    device.name = "Boost";
    device.unit = "PSI";
    settings.adcChannels[3] = AdcChannel{kChannelUserDevice, 2, 2, "Boost", 100, 1, 0};
    adc.BuildActiveChannels(settings);
  }

  Settings settings;
  AdcChannels adc;
  std::unique_ptr<UserDevicesDialog> dialog;
  int writes = 0, changed = 0, beeps = 0;
};

TEST_F(UserDevicesTest, TypedCharactersAreFilteredWithABeep) {
  struct Case {
    int edit;  // 0 volts, 1 reading, 2 places
    const char* typed;
    const char* shown;
    int beeps;
  };
  const Case cases[] = {{0, "1a", "1", 1},     {0, "1.2.3", "1.23", 1}, {0, "-1", "-1", 0},
                        {1, "-12-3", "-123", 1}, {1, "12x.5", "12.5", 1}, {2, "x3", "3", 1}, {2, "-", "", 1}};
  Open();
  for (const Case& c : cases) {
    QLineEdit* edit = c.edit == 0 ? dialog->VoltsEdit(0) : c.edit == 1 ? dialog->ReadingEdit(1) : dialog->PlacesEdit();
    edit->setFocus();  // leaving the edit before may beep; that is the other test's
    beeps = 0;
    Type(edit, c.typed);
    EXPECT_EQ(edit->text().toStdString(), c.shown) << c.typed;
    EXPECT_EQ(beeps, c.beeps) << c.typed;
    EXPECT_TRUE(dialog->ApplyButton()->isEnabled());
  }
}

TEST_F(UserDevicesTest, LeavingAnEditChecksItsValue) {
  struct Case {
    int edit;  // 0 volts, 1 reading, 2 places
    const char* typed;
    const char* shown;  // an accepted text stays as typed
    bool beeps;
  };
  const Case cases[] = {{0, "7", "5.000", true},          {0, "", "0.000", true},
                        {0, "2.5", "2.5", false},       {0, "-", "0.000", true},
                        {1, "12345", "9999.9999", true},  {1, "-1000", "-999.9999", true},
                        {1, "", "0.0000", true},          {1, "-12.34567", "-12.34567", false},
                        {2, "7", "4", true},              {2, "3", "3", false}};
  Open();
  for (const Case& c : cases) {
    QLineEdit* edit = c.edit == 0 ? dialog->VoltsEdit(1) : c.edit == 1 ? dialog->ReadingEdit(0) : dialog->PlacesEdit();
    Type(edit, c.typed);
    beeps = 0;
    Leave();
    EXPECT_EQ(edit->text().toStdString(), c.shown) << c.typed;
    EXPECT_EQ(beeps > 0, c.beeps) << c.typed;
    if (c.beeps) {
      EXPECT_TRUE(test::WaitUntil([&] { return edit->hasFocus(); })) << c.typed;  // the focus goes back
    }
  }
}

TEST_F(UserDevicesTest, ApplyStoresRoundedValues) {
  Open();
  Type(dialog->NameEdit(), "Oil Pressure");
  Type(dialog->UnitEdit(), "PSIG");  // the configuration keeps three characters
  Type(dialog->VoltsEdit(0), "1.001");
  Type(dialog->ReadingEdit(0), "0");
  Type(dialog->VoltsEdit(1), "4.5");
  Type(dialog->ReadingEdit(1), "100.0001");
  Type(dialog->PlacesEdit(), "2");
  QTest::mouseClick(dialog->ApplyButton(), Qt::LeftButton);
  const UserDevice& device = settings.userDevices[0];
  EXPECT_EQ(device.active, 1);
  EXPECT_EQ(device.name, "Oil Pressure");
  EXPECT_EQ(device.unit, "PSI");
  EXPECT_EQ(device.voltJ, 1001);
  EXPECT_EQ(device.voltK, 4500);
  EXPECT_EQ(device.unitK, 1000001);
  EXPECT_EQ(device.precision, 2);
  EXPECT_EQ(dialog->SlotList()->itemText(0), "Oil Pressure");
  EXPECT_FALSE(dialog->ApplyButton()->isEnabled());
}

// Equal voltages are a device that reads a constant: saved by Apply and by
// "Yes" when leaving the slot, with no box but dialog 141.
TEST_F(UserDevicesTest, EqualVoltsAreSavedAsAConstantReading) {
  const QString kModified = "This device entry has been modified.\n\nDo you want to save the changes?";
  struct Case {
    bool byApply;
    QStringList boxes;
  };
  for (const Case& c : {Case{true, {}}, Case{false, {kModified}}}) {
    SCOPED_TRACE(c.byApply ? "Apply" : "Yes when leaving the slot");
    settings.userDevices[0] = UserDevice{};
    Open();
    Type(dialog->NameEdit(), "Fixed");
    Type(dialog->VoltsEdit(0), "2.5");
    Type(dialog->ReadingEdit(0), "14.7");
    Type(dialog->VoltsEdit(1), "2.5");
    Type(dialog->ReadingEdit(1), "20");
    const QStringList boxes = test::AnswerBoxesDuring(QMessageBox::Yes, [&] {
      if (c.byApply)
        QTest::mouseClick(dialog->ApplyButton(), Qt::LeftButton);
      else
        ChooseSlot(1);
    });
    EXPECT_EQ(boxes.join(" | ").toStdString(), c.boxes.join(" | ").toStdString());
    const UserDevice& device = settings.userDevices[0];
    EXPECT_EQ(device.name, "Fixed");
    EXPECT_EQ(device.voltJ, 2500);
    EXPECT_EQ(device.voltK, 2500);
    for (double volts : {0.0, 2.5, 5.0}) EXPECT_DOUBLE_EQ(UserDeviceReading(device, volts), 14.7) << volts;
  }
}

TEST_F(UserDevicesTest, SwitchingSlotsAsksAboutUnsavedEdits) {
  struct Case {
    QMessageBox::StandardButton answer;
    const char* stored;
    int changed;
  };
  const Case cases[] = {{QMessageBox::No, "-Available Device Entry-", 0}, {QMessageBox::Yes, "Fuel Level", 1}};
  for (const Case& c : cases) {
    settings = Settings{};
    changed = 0;
    Open();
    Type(dialog->NameEdit(), "Fuel Level");
    test::AnswerNextBox(c.answer);
    ChooseSlot(5);
    EXPECT_EQ(settings.userDevices[0].name, c.stored);
    EXPECT_EQ(dialog->NameEdit()->text(), kNewDeviceName);
    EXPECT_FALSE(dialog->ApplyButton()->isEnabled());
    QTest::mouseClick(dialog->CloseButton(), Qt::LeftButton);
    EXPECT_EQ(changed, c.changed);  // "Yes" counts as applied
    EXPECT_EQ(UserDevicesDialog::RememberedSlot(), 5);
    UserDevicesDialog::RememberedSlot() = 0;
  }
}

TEST_F(UserDevicesTest, DeletingADeviceAChannelUsesResetsTheChannelOnClose) {
  UseSlotTwoOnChannelThree();
  ASSERT_EQ(adc.PreferredWbChannel(), 3);
  Open();
  ChooseSlot(2);
  EXPECT_EQ(dialog->NameEdit()->text(), "Boost");
  QTest::mouseClick(dialog->DeleteButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->SlotList()->itemText(2), kFreeSlotName);
  EXPECT_EQ(settings.adcChannels[3].type, kChannelUserDevice);  // until the dialog closes
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(settings.adcChannels[3].type, kChannelNone);
  EXPECT_EQ(settings.adcChannels[3].name, "None");
  EXPECT_EQ(adc.PreferredWbChannel(), -1);
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(changed, 1);
}

TEST_F(UserDevicesTest, RenamingADeviceRenamesItsChannelOnClose) {
  UseSlotTwoOnChannelThree();
  Open();
  ChooseSlot(2);
  Type(dialog->NameEdit(), "Boost Gauge");
  QTest::mouseClick(dialog->ApplyButton(), Qt::LeftButton);
  QTest::mouseClick(dialog->CloseButton(), Qt::LeftButton);
  EXPECT_EQ(settings.adcChannels[3].name, "Boost Gauge");
  EXPECT_EQ(adc.PreferredWbChannel(), 3);
}

}  // namespace
}  // namespace vantor::ui

#endif
