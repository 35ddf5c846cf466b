// The main window driven through its menu, keys and controls on the
// recording host and the simulated ECM.

#include "ui/window/main_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "cal/ve_file.h"
#include "support/file_size_limit.h"
#include "sim/default_calibration.h"
#include "ui/draw/menu_commands.h"
#include "ui/window/playback_controls.h"
#include "ui/window/tool_windows.h"
#include "support/log_builder.h"
#include "main_window_fixture.h"

namespace vantor::ui {
namespace {

namespace fs = std::filesystem;
using test::FakeWindow;

std::string ReadAll(const fs::path& path) { return vantor::test::ReadText(path.string()); }

// How often text occurs in the file: the log's marks and stamps as written.
int Occurrences(const fs::path& path, const std::string& text) {
  const std::string all = ReadAll(path);
  int count = 0;
  for (std::size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) ++count;
  return count;
}

class MainWindowTest : public test::MainWindowTest {
 protected:
  fs::path PlaybackLog(int frames) {
    testlog::LogBuilder log;
    for (int i = 0; i < frames; ++i) log.Frame(testlog::FrameData{});
    const fs::path path = dir / "play.dat";
    log.Save(path.string());
    return path;
  }
  void Play(const fs::path& log) {
    host.AnswerChooser(log.string());
    window->Command(cmd::kPlayback);
    ASSERT_TRUE(parts->playback.Playing());
  }
  void StartLog(const fs::path& log) {
    host.AnswerChooser(log.string());
    window->Command(cmd::kDataLog);
    ASSERT_TRUE(parts->recorder.Logging());
  }
  void Click(const std::string& text) {
    const int id = View().IdOf(text);
    ASSERT_NE(id, 0) << text;
    View().Click(id);
  }
};

TEST_F(MainWindowTest, RecordsThroughTheMenuAndClosesTheLogAtExit) {
  window->Start();
  ASSERT_TRUE(FramesArrive(5));
  const fs::path log = dir / "drive.dat";
  StartLog(log);
  EXPECT_TRUE(host.choosers.back().save);
  ASSERT_TRUE(WaitUntil([&] { return fs::file_size(log) > 3000; }));

  EXPECT_TRUE(View().CloseBox());
  EXPECT_FALSE(parts->recorder.Logging());
  EXPECT_NE(ReadAll(dir / "test.cfg").find("[DLOGNAME] drive.dat"), std::string::npos);
  {
    std::lock_guard<std::mutex> lock(parts->session.Hooks().fileMutex);
    EXPECT_EQ(parts->session.Hooks().file, nullptr);  // the writer has let go of the file
  }
}

TEST_F(MainWindowTest, PlaysALogBackThroughTheMenu) {
  window->Start();
  Play(PlaybackLog(200));
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kDataLog));
  EXPECT_TRUE(View().Has(MainWindow::kProgress));
  ASSERT_TRUE(FramesArrive(10));

  window->Command(cmd::kStopPlayback);
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kPlayback));
  ASSERT_TRUE(WaitUntil([&] { return !View().Has(MainWindow::kProgress); }));
}

TEST_F(MainWindowTest, ExportsALogForAViewerThroughTheFileMenu) {
  window->Start();
  const fs::path log = PlaybackLog(40), out = dir / "drive.msl";
  host.AnswerChooser(log.string());
  host.AnswerChooser(out.string());
  ASSERT_TRUE(View().Menu(MainWindow::kExportForViewer));
  EXPECT_EQ(host.choosers.back().name, "play.msl");
  EXPECT_EQ(vantor::test::ReadText(out.string()).rfind("\"VantorFlash", 0), 0u);
  EXPECT_FALSE(View().Has(MainWindow::kExportProgress));
}

// While logging, TAB marks and SPACE stamps after a click on a display
// control has taken the focus.
TEST_F(MainWindowTest, KeysStayTheWindowsAfterAClickOnADisplayControl) {
  window->Start();
  const fs::path log = dir / "drive.dat";
  StartLog(log);
  window->Command(cmd::kSpkKnock);
  Click("Peak");
  EXPECT_EQ(View().FocusedControl(), 0);
  View().Press(Key::Tab, '\t');
  View().Press(Key::Space, ' ');
  EXPECT_TRUE(WaitUntil([&] {
    return Occurrences(log, "MARK") == 1 && Occurrences(log, "TIME:") == 3;  // + the header's
  })) << Occurrences(log, "MARK") << " marks";
}

// Back on the gauges the rate slider is made again and sets the rate.
TEST_F(MainWindowTest, PlaybackControlsComeBackOnTheGaugeDisplay) {
  settings.pbSpd = 100;  // the log lasts
  window->Start();
  Play(PlaybackLog(500));
  View().Type('4');
  EXPECT_FALSE(View().Has(PlaybackControls::kRate));
  View().Type('1');
  ASSERT_TRUE(View().Has(PlaybackControls::kRate));
  View().Slide(PlaybackControls::kRate, 70);
  EXPECT_EQ(settings.pbSpd, 30);
}

// VE learn runs from the menu; Stop writes the learned BIN.
TEST_F(MainWindowTest, LearnVeFromTheMenuWritesALearnedBin) {
  const fs::path source = dir / "base_00007.bin", learned = dir / "base_00008.bin";
  vantor::test::WriteAll(source.string(), sim::DefaultBankImage(0));
  window->Start();
  window->Command(cmd::kVeLearn);
  host.AnswerChooser(source.string());
  host.AnswerChooser(learned.string());
  window->Command(cmd::kLearnVe);
  ASSERT_TRUE(parts->veLearn.Active());
  EXPECT_FALSE(window->MenuItemEnabled(cmd::kLearnVe));
  window->Command(cmd::kStopLearnVe);
  EXPECT_EQ(CheckSignature(learned.string()).generation, CheckSignature(source.string()).generation + 1);
}

// The close that Analysis posts may still wait for the communication thread
// when the user comes back (no thread serves it here): the port reads open,
// yet the way back must ask for it again.
TEST_F(MainWindowTest, ComingBackBeforeTheReleaseIsServedAsksForThePortAgain) {
  parts->link.ShowPortStatus(true);  // as the communication thread reports an open port
  window->Command(cmd::kAnalysis);
  ASSERT_EQ(parts->link.RequestedMode(), PortClose);
  window->Command(cmd::kVantor);
  EXPECT_EQ(parts->link.RequestedMode(), PortReopen);
}

TEST_F(MainWindowTest, FloatingWindowsKeepTheirOpenStateAndFlashIntoView) {
  window->Start();
  window->Command(cmd::kMalfCodes);
  window->Command(cmd::kAnalysis);
  EXPECT_EQ(window->Tools().Malf(), nullptr);
  window->Command(cmd::kVantor);
  ASSERT_NE(window->Tools().Malf(), nullptr);  // closed by the program: reopened by the next live display

  // An open window flashes into view: to it, to the main window, to it, back.
  auto& malf = static_cast<FakeWindow&>(window->Tools().Malf()->Window());
  window->Command(cmd::kMalfCodes);
  EXPECT_TRUE(malf.Active());
  for (bool toolActive : {false, true, false}) {
    malf.FireTimer(1);
    EXPECT_EQ(malf.Active(), toolActive);
  }
  EXPECT_FALSE(malf.CloseBox());  // the close box: the owner takes it down
  EXPECT_EQ(settings.actvMalf, 0);
}

// The CommPort menu lists the adapters present each time it opens and
// checks the port in use; an over-long [PORT] is refused, never cut and opened.
TEST_F(MainWindowTest, PortMenuAndOverLongPortName) {
  View().OpenMenu(MainWindow::kCommPortMenu);
  const auto* items = View().MenuItems(MainWindow::kCommPortMenu);
  ASSERT_NE(items, nullptr);
  EXPECT_TRUE(items->back().checked);
  EXPECT_TRUE(View().Menu(ComPortCommands()[11]));
  EXPECT_EQ(settings.port, "COM12");

  settings.port = "/dev/serial/by-id/usb-FTDI_FT232R-if00";
  window->Start();  // the gauge display selects the port
  ASSERT_FALSE(host.boxes.empty());
  EXPECT_EQ(host.boxes.back().text, "Port name too long: " + settings.port);
  EXPECT_FALSE(parts->link.PortIsOpen());
}

// A log that hits a real file size limit: the window shows the write error,
// the log is closed on its own thread and the menu is given back.
TEST_F(MainWindowTest, FullLogFileShowsTheErrorClosesTheLogAndRestoresTheMenu) {
  constexpr std::uintmax_t kFileLimit = 8 * 1024;
  const fs::path log = dir / "full.dat";
  window->Start();
  {
    vantor::test::FileSizeLimit limit(kFileLimit);
    ASSERT_TRUE(parts->recorder.StartDataLog(log.string()));
    EXPECT_FALSE(window->MenuItemEnabled(cmd::kDataLog));
    ASSERT_TRUE(WaitUntil([&] { return !parts->recorder.Logging() && !host.boxes.empty(); }));
  }
  EXPECT_EQ(host.boxes.back().caption + "|" + host.boxes.back().text, "File Write Error|Error Writing to File\nDisk Full?");
  EXPECT_TRUE(window->MenuItemEnabled(cmd::kDataLog));
}

}  // namespace
}  // namespace vantor::ui
