// The Flash display in the main window on the offscreen platform, against
// the simulated ECM behind the port "SIM": bank jobs started with Apply, the
// file choosers, the keys, and what the display holds off while it is open.
#if defined(VANTOR_HAS_UI_QT) && defined(VANTOR_HAS_QTEST)

#include "ui/qt/flash_window.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "cal/bank_jobs.h"
#include "cal/cal_image.h"
#include "cal/temp_dir.h"
#include "qt_test_support.h"
#include "sim/sim_serial.h"
#include "ui/draw/menu_commands.h"
#include "ui/qt/client_view.h"
#include "ui/qt/main_window.h"

namespace vantor::ui {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int kBank = 3;

Bytes SignedImage(unsigned seed) {
  Bytes calibration(kCalibrationSize);
  std::mt19937 random(seed);
  for (auto& byte : calibration) byte = static_cast<std::uint8_t>(random());
  std::copy_n("ORV9", 4, calibration.begin() + 2);
  const CalImage image = MakeImageFromCalibration(calibration.data());
  return Bytes(image.Data(), image.Data() + kCalImageSize);
}

Bytes ReadFile(const fs::path& path) { return vantor::test::ReadAll(path.string()); }
void WriteFile(const fs::path& path, const Bytes& bytes) { vantor::test::WriteAll(path.string(), bytes); }

bool SameCalibration(const Bytes& a, const Bytes& b) {
  return a.size() >= kCalibrationSize && b.size() >= kCalibrationSize &&
         std::equal(a.begin(), a.begin() + kCalibrationSize, b.begin());
}

class FlashWindowTest : public ::testing::Test {
 protected:
  FlashWindowTest() {
    test::TestApp();
    settings.port = sim::kSimPortName;
    settings.flshBank = kBank;
    image = SignedImage(7);
    WriteFile(dir / "good.bin", image);
    parts = std::make_unique<ProgramParts>(settings, (dir / "test.cfg").string());
    window = std::make_unique<MainWindow>(*parts);
    FlashProgramPane().SetLineHook([this](vantor::Rgb, std::string_view text) { lines.emplace_back(text); });
  }
  ~FlashWindowTest() override {
    FlashProgramPane().SetLineHook(nullptr);
    window.reset();
  }
  void StartWindow() {
    window->show();
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->Start();
  }
  void OpenFlash() {
    StartWindow();
    ASSERT_TRUE(test::WaitUntil([&] { return parts->session.Loop().FramesProcessed() >= 3; }));
    window->Command(cmd::kFlash);
    ASSERT_EQ(window->Mode(), DisplayMode::Flash);
  }
  QAbstractButton* Control(const QString& text) {
    for (auto* button : window->View().findChildren<QAbstractButton*>())
      if (button->text() == text) return button;
    ADD_FAILURE() << text.toStdString();
    return nullptr;
  }
  void Click(const QString& text) { QTest::mouseClick(Control(text), Qt::LeftButton); }
  bool Shown(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
  void ReadInto(const fs::path& path) {
    settings.readBin = path.string();
    settings.readBinFile = path.filename().string();
    settings.readBinPath = dir.string() + "/";
    Click("Read Bank");
  }
  std::size_t StreamRequestsFrom(std::size_t first) const {
    const auto packets = parts->simEcm.ReceivedPackets();
    std::size_t count = 0;
    for (std::size_t i = first; i < packets.size(); ++i)
      if (packets[i].form == 'R' && packets[i].command == 'X' && packets[i].firstByte == 102) ++count;
    return count;
  }

  vantor::test::TempDir scratch;
  fs::path dir{scratch.Path()};
  Settings settings;
  Bytes image;
  std::unique_ptr<ProgramParts> parts;
  std::unique_ptr<MainWindow> window;
  std::vector<std::string> lines;
};

TEST_F(FlashWindowTest, ProgramsWithVerifyFromTheChosenFile) {
  OpenFlash();
  Click("Program Bank");
  test::AnswerNextFileDialog(dir / "good.bin");
  Click("Select BIN");
  EXPECT_EQ(settings.flshBinFile, "good.bin");
  Click("Apply");
  EXPECT_TRUE(Shown("Bank Verify Starting"));
  EXPECT_TRUE(Shown("    -Flashing Successful-"));
  EXPECT_NE(lines.back().find("Second(s)"), std::string::npos);
  EXPECT_TRUE(SameCalibration(parts->simEcm.Bank(kBank), image));
  EXPECT_EQ(window->focusWidget(), Control(QString::number(kBank)));  // Apply hands the focus to the bank
}

TEST_F(FlashWindowTest, ReadsABankIntoTheReadFile) {
  parts->simEcm.LoadBank(kBank, image);
  OpenFlash();
  ReadInto(dir / "read.bin");
  Click("Apply");
  EXPECT_TRUE(Shown("    -Read Successful-"));
  const Bytes read = ReadFile(dir / "read.bin");
  EXPECT_EQ(read.size(), kCalImageSize);
  EXPECT_TRUE(SameCalibration(read, image));
}

TEST_F(FlashWindowTest, VerifyFailsOnOneWrongByte) {
  settings.flshBin = (dir / "good.bin").string();
  OpenFlash();
  // The bank loses one byte between programming and the read-back.
  lines.clear();
  FlashProgramPane().SetLineHook([this](vantor::Rgb, std::string_view text) {
    lines.emplace_back(text);
    if (text != "Bank Verify Starting") return;
    Bytes changed = image;
    changed[4000] ^= 0x10;
    parts->simEcm.LoadBank(kBank, changed);
  });
  Click("Apply");
  EXPECT_TRUE(Shown("Verify Failed"));
  EXPECT_EQ(lines.back(), "     -Flashing Failed-");
  EXPECT_FALSE(Shown("Bank Programmed Successfully"));
}

TEST_F(FlashWindowTest, AnInterruptedReadKeepsTheExistingFile) {
  const Bytes old = SignedImage(99);
  WriteFile(dir / "keep.bin", old);
  OpenFlash();
  ReadInto(dir / "keep.bin");
  sim::SimFaults silent;
  silent.replyDelayMicros = 3'600'000'000;  // the module stops answering
  parts->simEcm.SetFaults(silent);
  Click("Apply");
  EXPECT_TRUE(Shown("TxSlInfo Failed"));
  EXPECT_TRUE(Shown(kOldBinKept));
  EXPECT_EQ(lines.back(), "     -Read Failed-");
  EXPECT_EQ(ReadFile(dir / "keep.bin"), old);
  for (const std::string& name : vantor::test::Names(dir.string()))  // no working file left beside it
    EXPECT_TRUE(name == "keep.bin" || name.rfind("keep.bin", 0) != 0) << name;
}

TEST_F(FlashWindowTest, ControlsFollowTheActionAndTheKeysMoveTheFocus) {
  settings.flshAction = kFlashRead;
  settings.flshVerify = 0;
  OpenFlash();
  EXPECT_FALSE(Control("Verify")->isEnabled());
  EXPECT_FALSE(Control("Verify")->isChecked());
  EXPECT_TRUE(Control("Read Bank")->isChecked());
  EXPECT_TRUE(Control(QString::number(kBank))->hasFocus());
  Click("Program Bank");
  EXPECT_EQ(settings.flshAction, kFlashProgram);
  EXPECT_TRUE(Control("Verify")->isEnabled());
  Click("Set Bank Active");
  EXPECT_EQ(settings.flshSetBank, 0);
  Click("6");
  EXPECT_EQ(settings.flshBank, 6);

  Control("Apply")->setFocus();
  QTest::keyClick(Control("Apply"), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(Control("Close")->hasFocus());
  QTest::keyClick(Control("Close"), Qt::Key_Return);
  EXPECT_TRUE(Control("Apply")->hasFocus());
  QTest::keyClick(Control("Apply"), Qt::Key_Escape);
  EXPECT_TRUE(Control("0")->hasFocus());  // wraps round

  Click("Close");
  EXPECT_TRUE(test::WaitUntil([&] { return window->Mode() == DisplayMode::Gauges; }));
}

TEST_F(FlashWindowTest, FileChoosersRefuseANonBinAndAskBeforeOverwriting) {
  WriteFile(dir / "text.bin", Bytes(100, 'x'));
  WriteFile(dir / "there.bin", image);
  OpenFlash();
  QString box;
  test::AnswerNextFileDialog(dir / "text.bin");
  test::AnswerNextBox(QMessageBox::Ok, &box);
  Click("Select BIN");
  EXPECT_EQ(box.toStdString(), "Not an ORV KDM-9 Flash BIN!");
  EXPECT_TRUE(settings.flshBin.empty());

  Click("Read Bank");
  // "No" opens the chooser again; cancelling that one changes nothing.
  test::AnswerNextFileDialog(dir / "there.bin");
  test::AnswerNextBox(QMessageBox::No, &box, [] { test::AnswerNextFileDialog({}); });
  Click("Select BIN");
  EXPECT_TRUE(settings.readBinFile.empty());
  for (auto [answer, kept] : {std::pair{QMessageBox::Cancel, true}, std::pair{QMessageBox::Yes, false}}) {
    test::AnswerNextFileDialog(dir / "there.bin");
    test::AnswerNextBox(answer, &box);
    Click("Select BIN");
    EXPECT_EQ(box.toStdString(), "BIN File Exists, Overwrite?");
    EXPECT_EQ(settings.readBinFile.empty(), kept);
  }
  EXPECT_EQ(settings.readBin, (dir / "there.bin").string());
}

// While the Flash display is open the log writer is paused and the display
// thread sends no stream request; closing it resumes both.
TEST_F(FlashWindowTest, HoldsTheLogAndTheStreamWhileOpen) {
  StartWindow();
  ASSERT_TRUE(test::WaitUntil([&] { return parts->session.Loop().FramesProcessed() >= 3; }));
  const fs::path log = dir / "drive.dat";
  ASSERT_TRUE(parts->recorder.StartDataLog(log.string()));
  ASSERT_TRUE(test::WaitUntil([&] { return fs::file_size(log) > 2000; }));

  window->Command(cmd::kFlash);
  EXPECT_EQ(parts->session.Hooks().writerPaused.load(), 1u);
  EXPECT_EQ(parts->session.Sources().Current(), ByteSourceId::None);
  EXPECT_TRUE(parts->link.Tick().Running());
  // Counted from a second after the switch, when anything sent before it has arrived.
  const std::int32_t tick = parts->state.Tick();
  ASSERT_TRUE(test::WaitUntil([&] { return parts->state.Tick() >= tick + 1; }));
  const std::size_t openedAt = parts->simEcm.ReceivedPackets().size();
  ASSERT_TRUE(test::WaitUntil([&] { return parts->state.Tick() >= tick + 3; }));
  EXPECT_EQ(StreamRequestsFrom(openedAt), 0u);
  EXPECT_TRUE(parts->recorder.Logging());  // the log stays open

  Click("Close");
  ASSERT_TRUE(test::WaitUntil([&] { return window->Mode() == DisplayMode::Gauges; }));
  EXPECT_EQ(parts->session.Hooks().writerPaused.load(), 0u);
  EXPECT_EQ(parts->session.Sources().Current(), ByteSourceId::Live);
  EXPECT_FALSE(parts->link.Tick().Running());
  EXPECT_TRUE(test::WaitUntil([&] { return StreamRequestsFrom(openedAt) > 0; }));
  const auto size = fs::file_size(log);
  EXPECT_TRUE(test::WaitUntil([&] { return fs::file_size(log) > size + 1000; }));
  parts->recorder.StopDataLog();
}

}  // namespace
}  // namespace vantor::ui

#endif
