// A log that hits a real file size limit: the window shows the write error,
// stops and closes the log on its own thread and gives the menu back; the
// file holds readable frames up to the failure. Built where the window library is.
#ifdef VANTOR_HAS_UI_QT

#include <QMessageBox>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "cal/temp_dir.h"
#include "logs/log_read_back.h"
#include "platform/file_size_limit.h"
#include "sim/sim_serial.h"
#include "ui/draw/menu_commands.h"
#include "ui/qt/main_window.h"
#include "ui/offscreen_app.h"
#include "qt_test_support.h"

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
    QString shown, caption;
    test::AnswerNextBox(QMessageBox::Ok, &shown, {}, &caption);
    window.Start();
    {
      vantor::test::FileSizeLimit limit(kFileLimit);
      ASSERT_TRUE(parts.recorder.StartDataLog(log.string()));
      EXPECT_FALSE(window.MenuItemEnabled(cmd::kDataLog));
      ASSERT_TRUE(testing::WaitFor([&] { return !parts.recorder.Logging() && !shown.isEmpty(); }, std::chrono::seconds(20)));
    }
    EXPECT_EQ(caption + "|" + shown, "File Write Error|Error Writing to File\nDisk Full?");
    EXPECT_TRUE(parts.recorder.WriteFailed());
    EXPECT_TRUE(window.MenuItemEnabled(cmd::kDataLog));
    EXPECT_FALSE(window.MenuItemEnabled(cmd::kCloseDataLog));
    std::lock_guard<std::mutex> lock(parts.session.Hooks().fileMutex);
    EXPECT_EQ(parts.session.Hooks().file, nullptr);
  }
  EXPECT_LE(fs::file_size(log), kFileLimit);
  EXPECT_GT(fs::file_size(log), kFileLimit - 4096);  // only the last buffer's worth is lost
  EXPECT_GT(testlog::ReadLogBack(log.string()).good.size(), 40u);  // the header's few kilobytes, then the stream
}

}  // namespace
}  // namespace vantor::ui

#endif  // VANTOR_HAS_UI_QT
