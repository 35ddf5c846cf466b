// A log that hits a real file size limit: the window shows the write error,
// stops and closes the log on its own thread and gives the menu back; the
// file holds readable frames up to the failure. Built where the window library is.
#ifdef VANTOR_HAS_UI_QT

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "cal/temp_dir.h"
#include "live/byte_source.h"
#include "live/frame_reader.h"
#include "platform/file_size_limit.h"
#include "sim/sim_serial.h"
#include "ui/draw/menu_commands.h"
#include "ui/qt/main_window.h"
#include "ui/offscreen_app.h"

namespace vantor::ui {
namespace {

namespace fs = std::filesystem;
constexpr std::uintmax_t kFileLimit = 24 * 1024;

TEST(LogWriteFailure, FullFileShowsTheErrorClosesTheLogAndRestoresTheMenu) {
  testing::OffscreenApp();
  const vantor::test::TempDir scratch;
  const fs::path dir = scratch.Path();
  Settings settings;
  settings.port = sim::kSimPortName;
  settings.updateDivisor = 0;
  const fs::path log = dir / "full.dat";
  {
    ProgramParts parts(settings, (dir / "test.cfg").string());
    MainWindow window(parts);
    // Answers the message box, keeping what it said.
    QString shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
          shown = box->windowTitle() + "|" + box->text();
          box->accept();
        }
    });
    answer.start(20);
    window.Start();
    {
      test::FileSizeLimit limit(kFileLimit);
      ASSERT_TRUE(parts.recorder.StartDataLog(log.string()));
      EXPECT_FALSE(window.MenuItemEnabled(cmd::kDataLog));
      ASSERT_TRUE(testing::WaitFor([&] { return !parts.recorder.Logging() && !shown.isEmpty(); }, std::chrono::seconds(20)));
    }
    EXPECT_EQ(shown, "File Write Error|Error Writing to File\nDisk Full?");
    EXPECT_TRUE(parts.recorder.WriteFailed());
    EXPECT_TRUE(window.MenuItemEnabled(cmd::kDataLog));
    EXPECT_FALSE(window.MenuItemEnabled(cmd::kCloseDataLog));
    std::lock_guard<std::mutex> lock(parts.session.Hooks().fileMutex);
    EXPECT_EQ(parts.session.Hooks().file, nullptr);
  }
  EXPECT_LE(fs::file_size(log), kFileLimit);
  EXPECT_GT(fs::file_size(log), kFileLimit - 4096);  // only the last buffer's worth is lost
  LogFileReader reader;
  ASSERT_TRUE(reader.Open(log.string()));
  ByteSources sources(nullptr, ByteSourceId::Analysis);
  sources.SetAnalysisFile(true, &reader);
  int frames = 0, result;
  for (LogFrameRead frame; (result = ReadLogFrame(sources, frame)) != kFrameEndOfData;) frames += result == kFrameOk;
  sources.SetAnalysisFile(false, nullptr);
  EXPECT_GT(frames, 40);  // the header's few kilobytes, then the stream
}

}  // namespace
}  // namespace vantor::ui

#endif  // VANTOR_HAS_UI_QT
