#include "ui/draw/ve_learn_display.h"

#include <gtest/gtest.h>

#include <array>

#include "live/live_data.h"
#include "live/live_frame.h"
#include "settings/settings.h"
#include "ui/draw/activity_spinner.h"
#include "velearn/ve_learn.h"
#include "fake_live_view.h"
#include "recording_canvas.h"

namespace vantor::ui {
namespace {

TEST(VeLearnText, CellsShowThePercentField) {
  struct Case {
    VeTableShown table;
    std::int32_t cell;
    const char* text;
  };
  constexpr auto O = VeTableShown::Original, L = VeTableShown::Learned, C = VeTableShown::Corrections;
  const Case cases[] = {{O, 255, "100 "},
                        {L, 1, "  0 "},  // 0.39 rounds down
                        {L, 2, "  1 "},  // 0.78 rounds up
                        {C, 140, "  9 "}, {C, 120, " -6 "}, {C, 0, "  . "},
                        {C, 127, "  0 "}};  // -0.78 toward zero
  for (const Case& c : cases) EXPECT_EQ(VeCellText(c.table, c.cell), c.text) << c.cell;
}

// Columns: 5 kPa steps to index 51, then 10 kPa; rows: 4 bins to 67, 8 to 135, then 16.
TEST(VeLearnText, HighlightFollowsTheOperatingPoint) {
  struct Case {
    int mapIndex, rpmIndex;
    VeCell cell;
  };
  const Case cases[] = {{2, 1, {1, 1}},       // 4.5 / 5 + 1, 3 / 4 + 1
                        {3, 2, {2, 2}},       // 5.5 / 5 + 1, 4 / 4 + 1
                        {51, 67, {18, 11}},   // last of the fine steps
                        {52, 68, {18, 11}},   // 0.7 + 11, 0 + 18
                        {80, 135, {26, 14}},  // 67 / 8 + 18, 3.5 + 11
                        {80, 136, {26, 14}}};  // first of the 16-bin steps
  for (const Case& c : cases) EXPECT_EQ(HighlightedCell(c.mapIndex, c.rpmIndex), c.cell) << c.mapIndex << "," << c.rpmIndex;
  // The rows end at 6500 rpm before a table is read.
  EXPECT_EQ(VeRowCount(false), 32);
  EXPECT_EQ(VeRowCount(true), 35);
}

// The text laid at x on the 8-pixel pitch, one call per character; blanks are not drawn.
std::string PitchedText(const testing::RecordingCanvas& canvas, int x, int y, int length) {
  std::string text;
  for (int i = 0; i < length; ++i) {
    const testing::TextCall* one = canvas.TextAt(x + 8 * i, y);
    text += one ? one->text : " ";
  }
  return text;
}

// The display over a learning run: what a redraw writes and where.
class VeLearnDisplayTest : public ::testing::Test {
 protected:
  VeLearnDisplayTest()
      : learn_(settings_, live_, VeLearnHooks{{}, {}, [this] { display_.Redraw(); }, {}, {}}),
        panel_(view_, spinner_, {}),
        display_(learn_, view_, panel_, surface_) {
    settings_.updateDivisor = 0;
  }
  void Frame(std::uint8_t rpmByte, std::uint8_t mapByte) {
    std::array<std::uint8_t, 273> frame{};
    frame[frame::kRpmCoarse28] = rpmByte;
    frame[frame::kLoadMap] = mapByte;
    surface_.canvas.Clear();
    display_.OnFrame(frame.data(), true);
  }
  const testing::FillCall* HighlightFill() const {
    for (const auto& fill : surface_.canvas.fills)
      if (fill.rect.Width() == 29 && fill.rect.Height() == 15) return &fill;
    return nullptr;
  }

  Settings settings_;
  LiveData live_;
  testing::FakeLiveView view_;
  ActivitySpinner spinner_;
  testing::RecordingSurface surface_;
  VeLearn learn_;
  StatusPanel panel_;
  VeLearnDisplay display_;
};

TEST_F(VeLearnDisplayTest, RedrawWritesTheGridAndHighlightsOnlyWhileRunning) {
  Frame(96, 128);  // 2400 RPM: bin 80; 60 kPa: index 40
  const auto& canvas = surface_.canvas;
  EXPECT_EQ(PitchedText(canvas, 160, 60 + 13 * 32, 7), "6500   ");
  EXPECT_EQ(canvas.TextAt(160, 60 + 13 * 33), nullptr);
  EXPECT_EQ(PitchedText(canvas, 50, 429, 11), "map:   60  ");
  EXPECT_EQ(HighlightFill(), nullptr);

  view_.running = true;
  display_.SetShown(VeTableShown::Corrections);
  Frame(96, 128);
  const testing::FillCall* fill = HighlightFill();
  ASSERT_NE(fill, nullptr);
  const VeCell cell = HighlightedCell(40, 80);
  EXPECT_EQ(fill->rect.left, 181 + 32 * cell.column);
  EXPECT_EQ(fill->rect.top, 61 + 13 * cell.row);
  EXPECT_EQ(fill->colour, (Rgb{150, 106, 3}));  // not learning: no sample taken
  // "  . ": the dot, the third character of the cell's text, leaves the highlight under it.
  const testing::TextCall* onCell = canvas.TextAt(fill->rect.left + 3 + 2 * 8, fill->rect.top - 1);
  ASSERT_NE(onCell, nullptr);
  EXPECT_FALSE(onCell->style.opaque);
}

}  // namespace
}  // namespace vantor::ui
