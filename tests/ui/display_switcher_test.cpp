#include "ui/draw/display_switcher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/draw/menu_commands.h"

namespace vantor::ui {
namespace {

const char* Name(Controls c) {
  constexpr const char* kNames[] = {"playback", "trip", "ve", "knock", "analysis", "flash"};
  return kNames[static_cast<int>(c)];
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

 private:
  void Track() { controlsChangedWhileRunning |= !suspended; }
};

std::string Gray(int command) { return "gray " + std::to_string(command); }

TEST(SelectDisplay, SwitchingTearsDownAndCreatesWhileSuspended) {
  RecordingWindow window;
  Settings settings;
  SelectDisplay(window, settings, cmd::kTripInfo);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"enable", Gray(cmd::kTripInfo), "suspend", "down playback",
                                                    "down ve", "down knock", "down analysis", "mode 1", "create trip",
                                                    "create playback", "invalidate", "resume", "rx reset"}));
}

TEST(SelectDisplay, WhatEachSwitchDoes) {
  struct Case {
    const char* name;
    DisplayMode from;
    bool portOpen, playing, malfOpen;
    int command;
    DisplayMode to;
    bool suspendedAfter;
    std::vector<std::string> called, notCalled;
  };
  const Case cases[] = {
      {"a closed port is selected", DisplayMode::Gauges, false, false, false, cmd::kVeLearn, DisplayMode::VeLearn,
       false, {"select port"}, {}},
      {"but not while playing", DisplayMode::Gauges, false, true, false, cmd::kVeLearn, DisplayMode::VeLearn, false,
       {}, {"select port"}},
      {"analysis closes the log and stays suspended", DisplayMode::Gauges, true, false, false, cmd::kAnalysis,
       DisplayMode::Analysis, true, {"stop log", "release port", Gray(cmd::kMalfCodes), Gray(cmd::kAnalysis)}, {}},
      {"flash keeps the log open", DisplayMode::Gauges, true, false, false, cmd::kFlash, DisplayMode::Flash, false,
       {"stop playback", "create flash"}, {"stop log"}},
      // The port opens again after Analysis or Flash.
      {"leaving flash tears it down", DisplayMode::Flash, false, false, false, cmd::kVantor, DisplayMode::Gauges,
       false, {"down flash", "select port"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingWindow window;
    window.mode = c.from;
    window.portOpen = c.portOpen;
    window.playing = c.playing;
    Settings settings;
    settings.actvMalf = c.malfOpen ? 1 : 0;
    SelectDisplay(window, settings, c.command);
    EXPECT_EQ(window.mode, c.to);
    EXPECT_EQ(window.suspended, c.suspendedAfter);
    EXPECT_FALSE(window.controlsChangedWhileRunning);
    for (const std::string& call : c.called) EXPECT_TRUE(window.Called(call)) << call;
    for (const std::string& call : c.notCalled) EXPECT_FALSE(window.Called(call)) << call;
  }
}

TEST(MenuCommands, QuickKeysAndPorts) {
  EXPECT_EQ(QuickKeyCommand('1'), cmd::kVantor);
  EXPECT_FALSE(QuickKeyCommand('6'));
  EXPECT_EQ(ComPortNumber(32776), 1);
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
