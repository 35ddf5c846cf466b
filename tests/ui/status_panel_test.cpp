#include "ui/draw/status_panel.h"

#include <gtest/gtest.h>

#include <array>

#include "fake_live_view.h"
#include "live/live_frame.h"
#include "recording_canvas.h"

namespace vantor::ui {
namespace {

using testing::FakeLiveView;
using testing::RecordingCanvas;

TEST(StatusPanelText, RunTimeAndFileNameCutOrPaddedToTwenty) {
  EXPECT_EQ(RunTimeText(3725), "  01:02:05");
  ProgramState state;
  EXPECT_EQ(FileNameText(state), std::string(40, ' '));
  state.logging = true;
  state.logName = "a_very_long_log_file_name.dat";
  EXPECT_EQ(FileNameText(state), "a_very_long_log_file");
  state.logging = false;
  state.playing = true;
  state.playName = "play.dat";
  EXPECT_EQ(FileNameText(state), "play.dat            ");
}

TEST(StatusPanelText, ValuesFromTheFrame) {
  std::array<std::uint8_t, 273> frame{};
  frame[frame::kEngineConfig] = 0x48;
  frame[frame::kFirmware] = 0x13;
  frame[frame::kBankInfo] = 0x05;  // without its valid bit
  const PanelValues values = PanelValuesOf(frame.data());
  EXPECT_EQ(values.mapSensorBar, 3);
  EXPECT_EQ(FirmwareText(values), "ORV KDM-9, ECM Firmware Version: 1.3");
  EXPECT_EQ(FlashBankText(values), "      none");
  frame[frame::kBankInfo] = 0x85;
  EXPECT_EQ(FlashBankText(PanelValuesOf(frame.data())), "         5");
}

class StatusPanelTest : public ::testing::Test {
 protected:
  StatusPanelTest()
      : panel(view, spinner, [this](const std::string& text, const std::string& caption) {
          messages.push_back(text + "|" + caption);
        }) {}
  FakeLiveView view;
  ActivitySpinner spinner;
  StatusPanel panel;
  RecordingCanvas canvas;
  std::vector<std::string> messages;
};

TEST_F(StatusPanelTest, LoggingPauseAndResume) {
  ProgramState state;
  state.logging = true;
  state.logPaused = true;
  panel.DrawLoggingState(canvas, state);
  ASSERT_NE(canvas.TextAt(130, 142), nullptr);
  EXPECT_EQ(canvas.TextAt(130, 142)->text, "  Pause");
  EXPECT_EQ(canvas.TextAt(130, 142)->style.colour, colour::kAttention);
  state.logPaused = false;
  panel.DrawLoggingState(canvas, state);
  EXPECT_EQ(canvas.TextAt(130, 142)->text, "  ON   ");
}

TEST_F(StatusPanelTest, PlaybackStatesAndSpinner) {
  panel.DrawPanel(canvas, true);
  EXPECT_EQ(canvas.lines.size(), 12u);  // the spinner's spokes
  canvas.Clear();
  view.state.playing = true;
  view.state.playAtEnd = true;
  panel.DrawPanel(canvas, true);
  EXPECT_EQ(canvas.TextAt(130, 160)->text, " EOF   ");
  EXPECT_TRUE(canvas.lines.empty());
}

TEST_F(StatusPanelTest, WrongModelIsReportedOncePerRun) {
  std::array<std::uint8_t, 273> frame{};
  frame[frame::kFirmware] = 0x01;  // Q8
  panel.Update(frame.data());
  panel.DrawValues(canvas, true);
  EXPECT_TRUE(messages.empty());  // engine not running: not tested yet
  view.running = true;
  panel.DrawValues(canvas, true);
  panel.DrawValues(canvas, true);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], std::string(kWrongVtdText) + "|" + kWrongVtdCaption);
  EXPECT_EQ(canvas.TextAt(280, 534)->text, "ORV Q8, ECM Firmware Version: 1.1");
}

}  // namespace
}  // namespace vantor::ui
