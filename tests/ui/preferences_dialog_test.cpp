// The Preferences dialog driven as a user would: typing into its edits,
// clicking radios, boxes and buttons, switching pages.
#if defined(VANTOR_HAS_UI_QT) && defined(VANTOR_HAS_QTEST)

#include "ui/qt/preferences_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include "qt_test_support.h"
#include "settings/settings_io.h"
#include "settings/settings_table.h"
#include "ui/qt/adc_page.h"

namespace vantor::ui {
namespace {

std::string Text(Settings settings) { return SettingsText(MainProgramSettingsTable(), &settings); }

class PreferencesTest : public ::testing::Test {
 protected:
  PreferencesTest() {
    test::TestApp();
    Reopen();
  }
  void Reopen() {
    dialog = std::make_unique<PreferencesDialog>(settings, Host());
    dialog->show();
  }
  SettingsDialogHost Host() {
    SettingsDialogHost host;
    host.writeSettings = [this] { ++writes; };
    host.rebuildChannels = [this](bool) { ++rebuilds; };
    host.redraw = [] {};
    host.settingsChanged = [this] { ++changed; };
    return host;
  }
  template <typename T>
  T* Find(const char* name) const {
    T* found = dialog->Page()->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  void Type(const char* edit, const QString& text) {
    QLineEdit* field = Find<QLineEdit>(edit);
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
  }
  void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(4, button->height() / 2)); }
  void ClickOk() { Click(dialog->findChildren<QPushButton*>()[0]); }
  AdcPage* Adc() {
    dialog->Tabs()->setCurrentIndex(1);
    return static_cast<AdcPage*>(dialog->Page());
  }

  Settings settings;
  std::unique_ptr<PreferencesDialog> dialog;
  int writes = 0, rebuilds = 0, changed = 0;
};

TEST_F(PreferencesTest, TypedRangesAreCorrectedOnOk) {
  struct Case {
    const char* edit;
    const char* typed;
    std::int32_t Settings::*field;
    std::int32_t stored;
  };
  const Case cases[] = {
      {"maxTach", "7777", &Settings::rpmRange, 8000}, {"maxTach", "7400", &Settings::rpmRange, 7000},
      {"maxTach", "7500", &Settings::rpmRange, 8000}, {"maxTach", "300", &Settings::rpmRange, 1000},
      {"maxSpeed", "125", &Settings::mphRange, 130},  {"maxSpeed", "5", &Settings::mphRange, 10},
      {"maxSpeed", "999", &Settings::mphRange, 340},  {"redline", "9000", &Settings::rdln, 8000},
      {"smoothing", "25", &Settings::smoothFac, 20},  {"smoothing", "7", &Settings::smoothFac, 7},
  };
  for (const Case& c : cases) {
    Reopen();
    Type(c.edit, c.typed);
    EXPECT_TRUE(dialog->ApplyButton()->isEnabled());
    ClickOk();
    EXPECT_EQ(settings.*c.field, c.stored) << c.edit << " " << c.typed;
  }
  EXPECT_EQ(writes, 10);
}

TEST_F(PreferencesTest, LearnLimitsFollowTheTemperatureScaleBothWays) {
  struct Case {
    int scale;  // stored: 1 C, 0 F
    int lower, upper;
    const char* chosen;
    const char* shownLower;
    const char* shownUpper;
  };
  const Case cases[] = {{0, 176, 230, "°C", "80", "110"},
                        {1, 80, 110, "°F", "176", "230"},
                        {1, 220, 0, "°F", "428", "32"},  // the upper end of the range survives
                        {0, 32, 33, "°C", "0", "1"}};
  for (const Case& c : cases) {
    settings.temperScale = c.scale;
    settings.lrnLwr = c.lower;
    settings.lrnUpr = c.upper;
    Reopen();
    Click(Find<QRadioButton>(c.chosen));
    EXPECT_EQ(Find<QLineEdit>("minCts")->text().toStdString(), c.shownLower) << c.chosen << c.lower;
    EXPECT_EQ(Find<QLineEdit>("maxCts")->text().toStdString(), c.shownUpper);
    EXPECT_TRUE(dialog->ApplyButton()->isEnabled());
    ClickOk();
    EXPECT_EQ(settings.temperScale, 1 - c.scale);
    EXPECT_EQ(settings.lrnLwr, std::stoi(c.shownLower));
  }
  EXPECT_EQ(changed, 4);  // a scale change makes the Analysis table rebuild
}

TEST_F(PreferencesTest, UpdateRateListSetsTheDivisor) {
  auto* list = Find<QComboBox>("updateRate");
  EXPECT_EQ(list->itemText(3), "17 Times a Second");
  list->setCurrentIndex(3);
  emit list->activated(3);
  ClickOk();
  EXPECT_EQ(settings.updateRate, 3);
  EXPECT_EQ(settings.updateDivisor, 0);
}

TEST_F(PreferencesTest, PreferredBoxesAreExclusivePerColumn) {
  struct Case {
    std::vector<int> wbClicks, fuelClicks;
    int wb, fuel;  // the one channel left ticked, -1 none
  };
  const Case cases[] = {{{5, 2}, {}, 2, -1}, {{5, 5}, {}, -1, -1}, {{1}, {1, 6}, 1, 6}, {{0, 3, 7}, {4}, 7, 4}};
  for (const Case& c : cases) {
    settings = Settings{};
    Reopen();
    AdcPage* page = Adc();
    for (int channel : c.wbClicks) Click(page->WbBox(channel));
    for (int channel : c.fuelClicks) Click(page->FuelBox(channel));
    for (int channel = 0; channel < kAdcChannelCount; ++channel) {
      EXPECT_EQ(page->WbBox(channel)->isChecked(), channel == c.wb) << channel;
      EXPECT_EQ(page->FuelBox(channel)->isChecked(), channel == c.fuel) << channel;
    }
    ClickOk();
    for (int channel = 0; channel < kAdcChannelCount; ++channel) {
      EXPECT_EQ(settings.adcChannels[channel].wbPreferred, channel == c.wb ? 1 : 0);
      EXPECT_EQ(settings.adcChannels[channel].fpPreferred, channel == c.fuel ? 1 : 0);
    }
  }
}

TEST_F(PreferencesTest, AdcPageShowsAndStoresDevicesAndFilters) {
  settings.adcChannels[4] = AdcChannel{kChannelWideband, 1, 2, "DIY-WB Non-Linear", 30, 0, 0};
  Reopen();
  AdcPage* page = Adc();
  EXPECT_EQ(page->DeviceBox(4)->currentText(), "DIY-WB Non-Linear");  // not TT-1, which shares its code
  EXPECT_EQ(page->FilterBox(4)->currentText(), "    70 %");
  EXPECT_EQ(page->FilterBox(0)->itemText(0), "     0 %    (fast)");
  EXPECT_EQ(page->FilterBox(0)->itemText(10), "   100 %  (slow)");
  page->FilterBox(1)->setCurrentIndex(9);
  emit page->FilterBox(1)->activated(9);
  page->DeviceBox(1)->setCurrentIndex(18);  // "None", 15 controllers, then the senders: the third
  emit page->DeviceBox(1)->activated(18);
  Click(dialog->ApplyButton());
  EXPECT_EQ(settings.adcChannels[1].filter, 10);
  EXPECT_EQ(settings.adcChannels[1].type, kChannelFuelPressure);
  EXPECT_EQ(settings.adcChannels[1].index, 3);
  EXPECT_EQ(settings.adcChannels[4].index, 2);
  EXPECT_EQ(writes, 1);
  EXPECT_EQ(rebuilds, 1);
  EXPECT_FALSE(dialog->ApplyButton()->isEnabled());
}

TEST_F(PreferencesTest, CancelChangesNothing) {
  const std::string before = Text(settings);
  Type("maxTach", "3000");
  Type("minCts", "50");
  Click(Find<QRadioButton>("°F"));
  Click(Find<QRadioButton>("Auto"));
  for (QCheckBox* box : dialog->Page()->findChildren<QCheckBox*>())
    if (box->isVisible()) Click(box);
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_EQ(Text(settings), before);
  EXPECT_EQ(writes, 0);
  EXPECT_EQ(rebuilds, 1);  // the channels are rebuilt on every close
  EXPECT_EQ(changed, 0);
}

TEST_F(PreferencesTest, APageLeftByATabSwitchStaysAppliedAfterCancel) {
  Type("maxSpeed", "200");
  dialog->Tabs()->setCurrentIndex(1);
  dialog->reject();
  EXPECT_EQ(settings.mphRange, 200);
  EXPECT_EQ(writes, 0);
}

}  // namespace
}  // namespace vantor::ui

#endif
