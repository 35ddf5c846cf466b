// The Flash display in the main window on the recording host, against the
// simulated ECM: bank jobs, file choosers, and what it holds off.

#include "ui/window/flash_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "cal/bank_jobs.h"
#include "cal/cal_image.h"
#include "ui/draw/menu_commands.h"
#include "main_window_fixture.h"

namespace vantor::ui {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using F = FlashWindow;

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

class FlashWindowTest : public test::MainWindowTest {
 protected:
  FlashWindowTest() {
    settings.flshBank = kBank;
    image = SignedImage(7);
    WriteFile(dir / "good.bin", image);
    FlashProgramPane().SetLineHook([this](vantor::Rgb, std::string_view text) { lines.emplace_back(text); });
  }
  ~FlashWindowTest() override {
    FlashProgramPane().SetLineHook(nullptr);
    window.reset();
  }
  void OpenFlash() {
    window->Start();
    ASSERT_TRUE(FramesArrive(3));
    window->Command(cmd::kFlash);
    ASSERT_EQ(window->Mode(), DisplayMode::Flash);
  }
  bool Shown(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
  void ReadInto(const fs::path& path) {
    settings.readBin = path.string();
    settings.readBinFile = path.filename().string();
    settings.readBinPath = dir.string() + "/";
    View().Click(F::kReadBank);
  }
  std::size_t StreamRequestsFrom(std::size_t first) const {
    const auto packets = parts->simEcm.ReceivedPackets();
    std::size_t count = 0;
    for (std::size_t i = first; i < packets.size(); ++i)
      if (packets[i].form == 'R' && packets[i].command == 'X' && packets[i].firstByte == 102) ++count;
    return count;
  }

  Bytes image;
  std::vector<std::string> lines;
};

TEST_F(FlashWindowTest, ProgramsWithVerifyFromTheChosenFileAndReadsTheBankBack) {
  OpenFlash();
  View().Click(F::kProgramBank);
  host.AnswerChooser((dir / "good.bin").string());
  View().Click(F::kSelectBin);
  View().Click(F::kApply);
  EXPECT_TRUE(Shown("    -Flashing Successful-"));

  ReadInto(dir / "read.bin");
  View().Click(F::kApply);
  EXPECT_TRUE(SameCalibration(ReadFile(dir / "read.bin"), image));
}

TEST_F(FlashWindowTest, FileChoosersRefuseANonBinAndAskBeforeOverwriting) {
  WriteFile(dir / "text.bin", Bytes(100, 'x'));
  WriteFile(dir / "there.bin", image);
  OpenFlash();
  host.AnswerChooser((dir / "text.bin").string());
  View().Click(F::kSelectBin);
  EXPECT_EQ(host.boxes.back().text, "Not an ORV KDM-9 Flash BIN!");
  EXPECT_TRUE(settings.flshBin.empty());

  View().Click(F::kReadBank);
  // "No" opens the chooser again; cancelling that one changes nothing.
  host.AnswerChooser((dir / "there.bin").string());
  host.AnswerBox(BoxAnswer::No);
  View().Click(F::kSelectBin);
  EXPECT_EQ(host.choosers.size(), 3u);
  EXPECT_TRUE(settings.readBinFile.empty());
  host.AnswerChooser((dir / "there.bin").string());
  host.AnswerBox(BoxAnswer::Yes);
  View().Click(F::kSelectBin);
  EXPECT_EQ(host.boxes.back().text, "BIN File Exists, Overwrite?");
  EXPECT_EQ(settings.readBin, (dir / "there.bin").string());
}

// While the Flash display is open the log writer is paused and the display
// thread sends no stream request; closing it resumes both.
TEST_F(FlashWindowTest, HoldsTheLogAndTheStreamWhileOpen) {
  window->Start();
  ASSERT_TRUE(FramesArrive(3));
  const fs::path log = dir / "drive.dat";
  ASSERT_TRUE(parts->recorder.StartDataLog(log.string()));
  ASSERT_TRUE(WaitUntil([&] { return fs::file_size(log) > 2000; }));

  window->Command(cmd::kFlash);
  EXPECT_EQ(parts->session.Hooks().writerPaused.load(), 1u);
  EXPECT_TRUE(parts->link.Tick().Running());
  // Counted from a second after the switch, when anything sent before it has arrived.
  const std::int32_t tick = parts->state.Tick();
  ASSERT_TRUE(WaitUntil([&] { return parts->state.Tick() >= tick + 1; }));
  const std::size_t openedAt = parts->simEcm.ReceivedPackets().size();
  ASSERT_TRUE(WaitUntil([&] { return parts->state.Tick() >= tick + 3; }));
  EXPECT_EQ(StreamRequestsFrom(openedAt), 0u);
  EXPECT_TRUE(parts->recorder.Logging());  // the log stays open

  View().Click(F::kClose);
  ASSERT_TRUE(WaitUntil([&] { return window->Mode() == DisplayMode::Gauges; }));
  EXPECT_EQ(parts->session.Hooks().writerPaused.load(), 0u);
  EXPECT_FALSE(parts->link.Tick().Running());
  EXPECT_TRUE(WaitUntil([&] { return StreamRequestsFrom(openedAt) > 0; }));
}

}  // namespace
}  // namespace vantor::ui
