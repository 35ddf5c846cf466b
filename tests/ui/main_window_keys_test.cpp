// The main window shown and driven as a user would, keys through the window
// system to whatever has the focus: the window's keys after display
// switches and clicks on a display's controls, the playback controls on the
// gauge display, and the playback rate set in Preferences.
#if defined(VANTOR_HAS_UI_QT) && defined(VANTOR_HAS_QTEST)

#include <QAbstractButton>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <functional>
#include <string>

#include "ui/draw/menu_commands.h"
#include "ui/qt/client_view.h"
#include "ui/qt/preferences_dialog.h"
#include "../logs/log_builder.h"
#include "main_window_fixture.h"

namespace vantor::ui {
namespace {

using testing::WaitFor;

// How often text occurs in the file: the log's marks and stamps as written.
int Occurrences(const std::filesystem::path& path, const std::string& text) {
  const std::string all = vantor::test::ReadText(path.string());
  int count = 0;
  for (std::size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) ++count;
  return count;
}

class WindowKeysTest : public test::MainWindowTest {
 protected:
  void ShowActive() {
    window->Start();
    window->show();
    Activate();
  }
  // Again after a modal dialog (the offscreen platform does not give it back).
  void Activate() {
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  }
  // Keys as the keyboard gives them: to the focus widget, or the window when none has it.
  void Key(Qt::Key key) { QTest::keyClick(window->windowHandle(), key); }
  void Key(char key) { QTest::keyClick(window->windowHandle(), key); }
  QAbstractButton* Button(const QString& text) {
    for (QAbstractButton* button : window->View().findChildren<QAbstractButton*>())
      if (button->text() == text) return button;
    return nullptr;
  }
  void Click(const QString& text) {
    QAbstractButton* button = Button(text);
    ASSERT_NE(button, nullptr) << text.toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
  }
  std::filesystem::path PlaybackLog(int frames) {
    testlog::LogBuilder log;
    for (int i = 0; i < frames; ++i) log.Frame(testlog::FrameData{});
    const std::filesystem::path path = dir / "play.dat";
    log.Save(path.string());
    return path;
  }
  void Play(const std::filesystem::path& log) {
    test::AnswerNextFileDialog(log);
    window->Command(cmd::kPlayback);
    ASSERT_TRUE(parts->playback.Playing());
  }
};

// While logging, TAB marks and SPACE stamps after each of these paths: the
// control that had the focus may be gone, or a click may have taken it.
TEST_F(WindowKeysTest, MarksAndStampsAfterSwitchesAndClicksOnDisplayControls) {
  ShowActive();
  const std::filesystem::path log = dir / "drive.dat";
  test::AnswerNextFileDialog(log);
  window->Command(cmd::kDataLog);
  ASSERT_TRUE(parts->recorder.Logging());
  Activate();
  struct Path {
    const char* name;
    std::function<void()> go;
  };
  const Path paths[] = {
      {"VE table button", [&] {
         window->Command(cmd::kVeLearn);
         Click("New");
       }},
      {"key 1 from the VE table button", [&] {
         Click("Corectns");
         Key('1');
       }},
      {"knock tab and statistic", [&] {
         window->Command(cmd::kSpkKnock);
         Click("Boost");
         Click("Peak");
       }},
      {"menu away from the knock display", [&] {
         Click("Standard");
         window->Command(cmd::kTripInfo);
       }},
      {"trip Clear Data, then key 3", [&] {
         Click("Clear Data");
         Key('3');
       }},
  };
  int written = 0;
  for (const Path& path : paths) {
    SCOPED_TRACE(path.name);
    path.go();
    EXPECT_EQ(QApplication::focusWidget(), &window->View());
    Key(Qt::Key_Tab);
    Key(Qt::Key_Space);
    ++written;
    EXPECT_TRUE(WaitFor([&] {
      const int marks = Occurrences(log, "MARK");
      return marks == written && Occurrences(log, "TIME:") - marks == written + 1;  // + the header's
    })) << Occurrences(log, "MARK") << " marks";
  }

  window->Command(cmd::kAnalysis);  // closes the log
  window->Command(cmd::kVantor);    // the view button that had the focus goes
  Key('2');
  EXPECT_EQ(window->Mode(), DisplayMode::Trip);
}

// "Pause" stays on another display; back on the gauges "<-BackUp" and the
// rate slider are made again.
TEST_F(WindowKeysTest, PlaybackControlsComeBackOnTheGaugeDisplay) {
  settings.pbSpd = 100;  // the log lasts
  ShowActive();
  Play(PlaybackLog(500));
  for (char away : {'2', '4'}) {
    SCOPED_TRACE(away);
    Key(away);
    EXPECT_NE(Button("Pause"), nullptr);
    EXPECT_EQ(Button("<-BackUp"), nullptr);
    Key('1');
    EXPECT_EQ(window->Mode(), DisplayMode::Gauges);
    EXPECT_NE(Button("Pause"), nullptr);
    EXPECT_NE(Button("<-BackUp"), nullptr);
    auto* rate = window->View().findChild<QSlider*>();
    ASSERT_NE(rate, nullptr);
    EXPECT_EQ(rate->value(), 0);
  }
}

// [PBSPD] 0 set in Preferences during a playback on the trip display (no
// slider there): the playback goes on without a delay.
TEST_F(WindowKeysTest, PreferencesPlaybackRateReachesARunningPlayback) {
  settings.pbSpd = 100;  // 107 ms a frame: this log would take five minutes
  ShowActive();
  Play(PlaybackLog(3000));
  window->Command(cmd::kTripInfo);
  test::OnNextTopLevel([](QWidget* widget) {
    auto* dialog = qobject_cast<PreferencesDialog*>(widget);
    if (!dialog) return false;
    dialog->findChild<QSlider*>()->setValue(100);  // "Fast"
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
      if (button->text() == "OK") button->click();
    return true;
  });
  window->Command(cmd::kPreferences);
  EXPECT_EQ(settings.pbSpd, 0);
  EXPECT_TRUE(WaitFor([&] { return parts->playback.AtEnd(); }));
}

}  // namespace
}  // namespace vantor::ui

#endif  // VANTOR_HAS_UI_QT && VANTOR_HAS_QTEST
