#include "ui/draw/display_switcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/draw/menu_commands.h"

namespace vantor::ui {
namespace {

const char* Name(Controls c) {
  switch (c) {
    case Controls::Playback: return "playback";
    case Controls::Trip: return "trip";
    case Controls::VeLearn: return "ve";
    case Controls::Knock: return "knock";
    case Controls::Analysis: return "analysis";
    case Controls::Flash: return "flash";
  }
  return "?";
}

// Records the calls in order.
class RecordingWindow final : public WindowActions {
 public:
  std::vector<std::string> calls;
  DisplayMode mode = DisplayMode::Gauges;
  bool suspended = false;
  bool portOpen = true;
  bool playing = false;
  bool controlsChangedWhileRunning = false;

  void EnableDisplayItems() override { calls.push_back("enable"); }
  void GrayItem(int command) override { calls.push_back("gray " + std::to_string(command)); }
  void Suspend() override { suspended = true; calls.push_back("suspend"); }
  void Resume() override { suspended = false; calls.push_back("resume"); }
  DisplayMode Mode() const override { return mode; }
  void SetMode(DisplayMode m) override { mode = m; calls.push_back("mode " + std::to_string(static_cast<int>(m))); }
  void TearDown(Controls c) override { Track(); calls.push_back(std::string("down ") + Name(c)); }
  void Create(Controls c) override { Track(); calls.push_back(std::string("create ") + Name(c)); }
  void InvalidateAll() override { calls.push_back("invalidate"); }
  bool BankSelectOpen() const override { return false; }
  bool MalfCodesOpen() const override { return false; }
  void OpenBankSelect() override { calls.push_back("open bank"); }
  void OpenMalfCodes() override { calls.push_back("open malf"); }
  void CloseBankSelect() override { calls.push_back("close bank"); }
  void CloseMalfCodes() override { calls.push_back("close malf"); }
  bool Playing() const override { return playing; }
  bool PortIsOpen() const override { return portOpen; }
  void SelectPort() override { calls.push_back("select port"); }
  void ReleasePort() override { calls.push_back("release port"); }
  void RequestRxReset() override { calls.push_back("rx reset"); }
  void StopStream() override { calls.push_back("stop stream"); }
  void StopDataLog() override { calls.push_back("stop log"); }
  void StopPlayback() override { calls.push_back("stop playback"); }
  void StopLearn() override { calls.push_back("stop learn"); }

  bool Called(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
  std::size_t IndexOf(const std::string& call) const {
    return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
  }

 private:
  void Track() { controlsChangedWhileRunning |= !suspended; }
};

TEST(SelectDisplay, SwitchingTearsDownAndCreatesWhileSuspended) {
  RecordingWindow window;
  Settings settings;
  SelectDisplay(window, settings, cmd::kTripInfo);
  EXPECT_EQ(window.mode, DisplayMode::Trip);
  EXPECT_FALSE(window.controlsChangedWhileRunning);
  EXPECT_LT(window.IndexOf("suspend"), window.IndexOf("down playback"));
  EXPECT_LT(window.IndexOf("down playback"), window.IndexOf("mode 1"));
  EXPECT_LT(window.IndexOf("mode 1"), window.IndexOf("create trip"));
  EXPECT_LT(window.IndexOf("create trip"), window.IndexOf("create playback"));
  EXPECT_LT(window.IndexOf("create playback"), window.IndexOf("resume"));
  EXPECT_FALSE(window.Called("down trip"));
  EXPECT_EQ(window.calls.back(), "rx reset");
  EXPECT_EQ(window.calls[1], "gray " + std::to_string(cmd::kTripInfo));
}

TEST(SelectDisplay, GaugesKeepThePlaybackControls) {
  RecordingWindow window;
  window.mode = DisplayMode::Diagnostic;
  Settings settings;
  SelectDisplay(window, settings, cmd::kVtd);
  EXPECT_EQ(window.mode, DisplayMode::Gauges);
  EXPECT_FALSE(window.Called("down playback"));
  EXPECT_TRUE(window.Called("gray " + std::to_string(cmd::kVantor)));
}

TEST(SelectDisplay, SameDisplayOnlyRegraysAndRedraws) {
  RecordingWindow window;
  Settings settings;
  settings.actvMalf = 1;
  SelectDisplay(window, settings, cmd::kVantor);
  EXPECT_FALSE(window.Called("suspend"));
  EXPECT_FALSE(window.Called("create playback"));
  EXPECT_TRUE(window.Called("invalidate"));
  EXPECT_TRUE(window.Called("open malf"));
}

TEST(SelectDisplay, ClosedPortIsSelectedUnlessPlaying) {
  RecordingWindow window;
  Settings settings;
  window.portOpen = false;
  SelectDisplay(window, settings, cmd::kVeLearn);
  EXPECT_TRUE(window.Called("select port"));
  RecordingWindow playing;
  playing.portOpen = false;
  playing.playing = true;
  SelectDisplay(playing, settings, cmd::kVeLearn);
  EXPECT_FALSE(playing.Called("select port"));
}

TEST(SelectDisplay, AnalysisClosesTheLogAndStaysSuspended) {
  RecordingWindow window;
  Settings settings;
  SelectDisplay(window, settings, cmd::kAnalysis);
  EXPECT_EQ(window.mode, DisplayMode::Analysis);
  EXPECT_TRUE(window.Called("stop log"));
  EXPECT_TRUE(window.Called("release port"));
  EXPECT_TRUE(window.suspended);
  EXPECT_FALSE(window.controlsChangedWhileRunning);
  EXPECT_TRUE(window.Called("gray " + std::to_string(cmd::kMalfCodes)));
  EXPECT_TRUE(window.Called("gray " + std::to_string(cmd::kAnalysis)));
}

TEST(SelectDisplay, FlashKeepsTheLogOpen) {
  RecordingWindow window;
  Settings settings;
  SelectDisplay(window, settings, cmd::kFlash);
  EXPECT_EQ(window.mode, DisplayMode::Flash);
  EXPECT_FALSE(window.Called("stop log"));
  EXPECT_TRUE(window.Called("stop playback"));
  EXPECT_FALSE(window.suspended);
  EXPECT_TRUE(window.Called("create flash"));
}

TEST(SelectDisplay, LeavingFlashTearsItDown) {
  RecordingWindow window;
  window.mode = DisplayMode::Flash;
  Settings settings;
  window.portOpen = false;
  SelectDisplay(window, settings, cmd::kVantor);
  EXPECT_TRUE(window.Called("down flash"));
  EXPECT_TRUE(window.Called("select port"));  // the port opens again after Analysis or Flash
}

TEST(MenuCommands, QuickKeysAndPorts) {
  EXPECT_EQ(QuickKeyCommand('1'), cmd::kVantor);
  EXPECT_EQ(QuickKeyCommand('5'), cmd::kDiagnostic);
  EXPECT_FALSE(QuickKeyCommand('6'));
  EXPECT_EQ(ComPortNumber(32776), 1);
  EXPECT_EQ(ComPortNumber(32814), 7);
  EXPECT_EQ(ComPortNumber(32856), 40);
  EXPECT_FALSE(ComPortNumber(32818));
}

class RecordingExit final : public ExitActions {
 public:
  std::vector<std::string> calls;
  bool minimised = false;
  bool Minimised() const override { return minimised; }
  void StoreWindowPosition() override { calls.push_back("position"); }
  void WriteSettings() override { calls.push_back("settings"); }
  void CloseDataLog() override { calls.push_back("log"); }
  void FinishLearn() override { calls.push_back("learn"); }
  void ClosePort() override { calls.push_back("port"); }
};

TEST(ExitSequence, OrderOfSteps) {
  RecordingExit exit;
  RunExitSequence(exit);
  EXPECT_EQ(exit.calls, (std::vector<std::string>{"position", "settings", "log", "learn", "port"}));
  RecordingExit minimised;
  minimised.minimised = true;
  RunExitSequence(minimised);
  EXPECT_EQ(minimised.calls.front(), "settings");
}

}  // namespace
}  // namespace vantor::ui
