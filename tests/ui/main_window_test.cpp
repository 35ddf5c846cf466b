// The main window driven through its menu on the offscreen platform, on the
// simulated ECM: the data log and playback items with their file choosers,
// the mark key and the exit sequence. Built where the window library is.
#ifdef VANTOR_HAS_UI_QT

#include "ui/qt/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "cal/ve_file.h"
#include "sim/default_calibration.h"
#include "sim/engine_model.h"
#include "ui/draw/menu_commands.h"
#include "ui/qt/bank_select_window.h"
#include "ui/qt/client_view.h"
#include "ui/qt/malf_codes_window.h"
#include "../logs/log_builder.h"
#include "main_window_fixture.h"

namespace vantor::ui {
namespace {

namespace fs = std::filesystem;

using testing::WaitFor;
using test::AnswerFileDialogs;

std::string ReadAll(const fs::path& path) { return vantor::test::ReadText(path.string()); }

template <typename Window>
Window* FindToolWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible()) return window;
  return nullptr;
}

using test::MainWindowTest;

TEST_F(MainWindowTest, InitialMenuGreying) {
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kCloseDataLog));
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kStopPlayback));
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kStopLearnVe));
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kVantor));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kDataLog));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kTripInfo));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kAnalysis));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kPreferences));
}

TEST_F(MainWindowTest, RecordsThroughTheMenuAndClosesTheLogAtExit) {
  window->Start();
  ASSERT_TRUE(FramesArrive(5));
  const fs::path log = dir / "drive.dat";
  test::AnswerNextFileDialog(log);
  window->Command(cmd::kDataLog);
  ASSERT_TRUE(parts->recorder.Logging());
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kDataLog));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kCloseDataLog));
  ASSERT_TRUE(WaitFor([&] { return fs::file_size(log) > 3000; }));

  QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t");
  QApplication::sendEvent(&window->View(), &tab);
  ASSERT_TRUE(WaitFor([&] { return ReadAll(log).find("MARK000TIME:") != std::string::npos; }));

  window->close();
  EXPECT_FALSE(parts->recorder.Logging());
  const std::string config = ReadAll(dir / "test.cfg");
  EXPECT_NE(config.find("[XPOSHWND]"), std::string::npos);
  EXPECT_NE(config.find("[DLOGNAME] drive.dat"), std::string::npos);
  {
    std::lock_guard<std::mutex> lock(parts->session.Hooks().fileMutex);
    EXPECT_EQ(parts->session.Hooks().file, nullptr);  // the writer has let go of the file
  }
  EXPECT_EQ(parts->session.Hooks().writerMode.load(), 0u);
  EXPECT_EQ(ReadAll(log).rfind("TIME:", 0), 0u);
}

TEST_F(MainWindowTest, PlaysALogBackThroughTheMenu) {
  window->Start();
  ASSERT_TRUE(FramesArrive(3));
  const fs::path log = dir / "play.dat";
  test::AnswerNextFileDialog(log);
  window->Command(cmd::kDataLog);
  ASSERT_TRUE(WaitFor([&] { return fs::file_size(log) > 277 * 40; }));
  window->Command(cmd::kCloseDataLog);

  test::AnswerNextFileDialog(log);
  window->Command(cmd::kPlayback);
  ASSERT_TRUE(parts->playback.Playing());
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kDataLog));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kStopPlayback));
  ASSERT_TRUE(FramesArrive(10));

  window->Command(cmd::kStopPlayback);
  EXPECT_FALSE(parts->playback.Playing());
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kPlayback));
  ASSERT_TRUE(FramesArrive(3));  // live again
}

TEST_F(MainWindowTest, QuickKeysSwitchDisplays) {
  window->Start();
  QKeyEvent two(QEvent::KeyPress, Qt::Key_2, Qt::NoModifier, "2");
  QApplication::sendEvent(&window->View(), &two);
  EXPECT_EQ(window->Mode(), DisplayMode::Trip);
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kTripInfo));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kVantor));
  window->Command(cmd::kAnalysis);
  QKeyEvent one(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1");
  QApplication::sendEvent(&window->View(), &one);
  EXPECT_EQ(window->Mode(), DisplayMode::Analysis);  // keys do nothing in Analysis
  window->Command(cmd::kVantor);
  EXPECT_EQ(window->Mode(), DisplayMode::Gauges);
  ASSERT_TRUE(FramesArrive(3));  // the port opens again after Analysis
}

// The display's own buttons exist only while it is shown.
TEST_F(MainWindowTest, TripAndKnockControlsComeAndGoWithTheirDisplays) {
  window->Start();
  auto buttons = [&](const QString& text) {
    int n = 0;
    for (QAbstractButton* button : window->View().findChildren<QAbstractButton*>())
      if (button->text() == text) ++n;
    return n;
  };
  window->Command(cmd::kTripInfo);
  EXPECT_EQ(buttons("Clear Data"), 1);
  ASSERT_TRUE(FramesArrive(3));
  window->View().findChild<QPushButton*>()->click();  // clears while the frames stream
  window->Command(cmd::kSpkKnock);
  EXPECT_EQ(buttons("Clear Data"), 1);
  EXPECT_EQ(buttons("Boost"), 1);
  auto* average = window->View().findChild<QRadioButton*>();
  ASSERT_NE(average, nullptr);
  EXPECT_TRUE(average->isChecked());
  window->Command(cmd::kVantor);
  EXPECT_EQ(buttons("Clear Data"), 0);
  EXPECT_EQ(buttons("Average"), 0);
  window->close();
  EXPECT_NE(ReadAll(dir / "test.cfg").find("[TOTALVSS]"), std::string::npos);
}

// The "Standard" and "Boost" buttons lie over the tabs the display paints
// and add nothing to them: the painted tab shows which grid is shown.
TEST_F(MainWindowTest, KnockTabButtonsShowThePaintedTabs) {
  window->Start();
  window->Command(cmd::kSpkKnock);
  const QRect tabs(165, 77, 185, 28);
  for (const char* chosen : {"Standard", "Boost", "Standard"}) {
    SCOPED_TRACE(chosen);
    for (QAbstractButton* button : window->View().findChildren<QAbstractButton*>())
      if (button->text() == chosen) button->click();
    const QImage shown = window->View().grab(tabs).toImage();
    int differing = 0;
    window->View().Surface().WithPixels([&](const std::uint32_t* pixels, int width, int) {
      for (int y = 0; y < tabs.height(); ++y)
        for (int x = 0; x < tabs.width(); ++x)
          differing += (shown.pixel(x, y) & 0xFFFFFFu) != (pixels[(tabs.y() + y) * width + tabs.x() + x] & 0xFFFFFFu);
    });
    EXPECT_EQ(differing, 0);
  }
}

// The simulated engine's drive, recorded, played back as fast as it goes
// while VE learn runs from the menu; Stop writes the learned BIN.
TEST_F(MainWindowTest, LearnVeFromTheMenuWritesALearnedBin) {
  settings.lrnLwr = 0;  // learn from the start, warm or not
  settings.pbSpd = 0;
  const fs::path source = dir / "base_00007.bin", learned = dir / "base_00008.bin", log = dir / "drive.dat";
  vantor::test::WriteAll(source.string(), sim::DefaultBankImage(0));
  testlog::LogBuilder drive;
  sim::EngineModel engine;
  testlog::FrameData frame{};
  for (int i = 0; i < 17 * 50; ++i) {  // warm-up, then the cruise of the first drive cycle
    engine.NextFrame(frame.data());
    drive.Frame(frame);
  }
  drive.Save(log.string());

  window->Start();
  window->Command(cmd::kVeLearn);
  AnswerFileDialogs({source, learned});
  window->Command(cmd::kLearnVe);
  ASSERT_TRUE(parts->veLearn.Active());
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kLearnVe));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kStopLearnVe));
  EXPECT_EQ(settings.newVeName, "base_00008.bin");

  AnswerFileDialogs({log});
  window->Command(cmd::kPlayback);
  ASSERT_TRUE(WaitFor([&] { return parts->playback.AtEnd(); }));
  EXPECT_GT(parts->veLearn.SampleCount(), 100u);
  window->Command(cmd::kStopLearnVe);
  EXPECT_FALSE(parts->veLearn.Active());
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kLearnVe));

  EXPECT_EQ(CheckSignature(learned.string()).generation, CheckSignature(source.string()).generation + 1);
  VeTable before, after;
  ASSERT_TRUE(ReadVeTable(source.string(), &before));
  ASSERT_TRUE(ReadVeTable(learned.string(), &after));
  int changed = 0;
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) changed += before.At(r, c) != after.At(r, c);
  EXPECT_GT(changed, 0);
}

TEST_F(MainWindowTest, FloatingWindowsKeepTheirOpenStateAndSwitchBanksOnAClick) {
  window->Start();
  window->Command(cmd::kMalfCodes);
  window->Command(cmd::kBankSelect);
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kBankSelect));
  EXPECT_EQ(settings.actvMalf, 1);
  EXPECT_EQ(settings.actvFbnk, 1);
  window->Command(cmd::kAnalysis);
  EXPECT_EQ(FindToolWindow<MalfCodesWindow>(), nullptr);
  EXPECT_EQ(settings.actvMalf, 1) << "closed by the program: reopened by the next live display";
  window->Command(cmd::kVantor);
  ASSERT_NE(FindToolWindow<MalfCodesWindow>(), nullptr);
  BankSelectWindow* banks = FindToolWindow<BankSelectWindow>();
  ASSERT_NE(banks, nullptr);
  ASSERT_TRUE(FramesArrive(3));

  auto bankPackets = [&] {
    int count = 0;
    for (const auto& packet : parts->simEcm.ReceivedPackets()) count += packet.command == 'B';
    return count;
  };
  auto click = [&](int pressX, int releaseX) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(pressX, 30), QPointF(pressX, 30), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(releaseX, 30), QPointF(releaseX, 30), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(banks, &press);
    QApplication::sendEvent(banks, &release);
  };
  const int before = bankPackets();
  click(130, 175);  // pressed on bank 2, released on bank 3
  EXPECT_EQ(bankPackets(), before);
  click(130, 140);
  ASSERT_TRUE(WaitFor([&] { return parts->simEcm.RunningBank() == 2; }));

  FindToolWindow<MalfCodesWindow>()->close();  // the close box
  ASSERT_TRUE(WaitFor([] { return FindToolWindow<MalfCodesWindow>() == nullptr; }));
  EXPECT_EQ(settings.actvMalf, 0);
  window->Command(cmd::kTripInfo);
  EXPECT_EQ(FindToolWindow<MalfCodesWindow>(), nullptr);
  window->close();
  const std::string config = ReadAll(dir / "test.cfg");
  EXPECT_NE(config.find("[ACTVFBNK] 1"), std::string::npos);
  EXPECT_NE(config.find("[ACTVMALF] 0"), std::string::npos);
  EXPECT_EQ(config.find("[XPOSMALF] -1"), std::string::npos);
}

// An over-long [PORT] is refused with a message, never cut and opened.
TEST_F(MainWindowTest, OverLongPortNameIsRefused) {
  settings.port = "/dev/serial/by-id/usb-FTDI_FT232R-if00";
  QString shown;
  test::AnswerNextBox(QMessageBox::Ok, &shown);
  window->Start();  // the gauge display selects the port
  EXPECT_EQ(shown.toStdString(), "Port name too long: " + settings.port);
  EXPECT_FALSE(parts->link.PortIsOpen());
}

}  // namespace
}  // namespace vantor::ui

#endif  // VANTOR_HAS_UI_QT
