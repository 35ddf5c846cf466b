// The main window driven through its menu on the offscreen platform, on the
// simulated ECM: the data log and playback items with their file choosers,
// the mark key and the exit sequence. Built where the window library is.
#ifdef VANTOR_HAS_UI_QT

#include "ui/qt/main_window.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include <unistd.h>

#include "qt_app_support.h"
#include "sim/sim_serial.h"
#include "ui/draw/menu_commands.h"
#include "ui/qt/client_view.h"

namespace vantor::ui {
namespace {

namespace fs = std::filesystem;

using qttest::App;
using qttest::WaitFor;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Answers the next file chooser with path; tries again until it has closed
// (the chooser may still be loading its directory).
void AnswerFileDialog(const fs::path& path) {
  auto* timer = new QTimer;
  auto answered = std::make_shared<bool>(false);
  QObject::connect(timer, &QTimer::timeout, [timer, path, answered] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QFileDialog*>(widget);
      if (!dialog || !dialog->isVisible()) continue;
      *answered = true;
      // Typed into the name field: selectFile leaves a focused field alone.
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      if (name) name->setText(QString::fromStdString(path.string()));
      else dialog->selectFile(QString::fromStdString(path.string()));
      static_cast<QDialog*>(dialog)->accept();
      return;
    }
    if (*answered) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(20);
}

class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    App();
    dir = fs::temp_directory_path() / ("vantor_ui_" + std::to_string(::getpid()) + "_" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
    settings.port = sim::kSimPortName;
    settings.updateDivisor = 0;
    parts = std::make_unique<ProgramParts>(settings, (dir / "test.cfg").string());
    window = std::make_unique<MainWindow>(*parts);
  }
  ~MainWindowTest() override {
    window.reset();
    parts.reset();
    fs::remove_all(dir);
  }
  bool FramesArrive(std::uint64_t count) {
    const std::uint64_t start = parts->session.Loop().FramesProcessed();
    return WaitFor([&] { return parts->session.Loop().FramesProcessed() >= start + count; });
  }

  fs::path dir;
  Settings settings;
  std::unique_ptr<ProgramParts> parts;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, InitialMenuGreying) {
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kCloseDataLog));
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kStopPlayback));
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kStopLearnVe));
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kVantor));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kDataLog));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kTripInfo));
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kAnalysis));
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kPreferences));  // not built yet
}

TEST_F(MainWindowTest, RecordsThroughTheMenuAndClosesTheLogAtExit) {
  window->Start();
  ASSERT_TRUE(FramesArrive(5));
  const fs::path log = dir / "drive.dat";
  AnswerFileDialog(log);
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
  AnswerFileDialog(log);
  window->Command(cmd::kDataLog);
  ASSERT_TRUE(WaitFor([&] { return fs::file_size(log) > 277 * 40; }));
  window->Command(cmd::kCloseDataLog);

  AnswerFileDialog(log);
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

}  // namespace
}  // namespace vantor::ui

#endif  // VANTOR_HAS_UI_QT
