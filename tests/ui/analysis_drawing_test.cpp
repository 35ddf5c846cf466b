// The Analysis display and the "1/4 Mile Graph" drawn without a window.

#include <gtest/gtest.h>

#include "support/analysis_samples.h"
#include "support/analysis_test_support.h"
#include "ui/draw/analysis_controls.h"
#include "ui/draw/headless_analysis.h"

namespace vantor::ui {
namespace {

using namespace testlog;

class AnalysisDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    LogBuilder().Raw(MarkedLog()).Save(dir_.File("run.dat"));
    std::string error;
    ASSERT_TRUE(analysis_.Load(dir_.File("run.dat"), &error)) << error;
  }
  Rgb RowColour(int row) const { return analysis_.Canvas().PixelAt(5, 104 + 17 * row + 1); }

  TempDir dir_;
  HeadlessAnalysis analysis_{Settings()};
};

TEST_F(AnalysisDrawing, SelectedLineIsScrolledIntoViewAndRowsTakeTheirKindsColours) {
  ASSERT_TRUE(analysis_.PaintDisplay(40));
  EXPECT_EQ(analysis_.Table().TopLine(), 40);
  EXPECT_EQ(RowColour(0), (Rgb{51, 51, 123}));   // selected
  EXPECT_EQ(RowColour(10), (Rgb{51, 123, 51}));  // the stamp at 50
  ASSERT_TRUE(analysis_.PaintDisplay(10));       // visible already: no scroll
  EXPECT_EQ(analysis_.Table().TopLine(), 40);
  ASSERT_TRUE(analysis_.PaintDisplay(79));
  EXPECT_EQ(analysis_.Table().TopLine(), 54);  // the last page
  EXPECT_EQ(RowColour(25), (Rgb{51, 51, 123}));
  EXPECT_FALSE(analysis_.PaintDisplay(80));
}

TEST_F(AnalysisDrawing, GraphStartsAtTheLineAndTicksItsMarks) {
  ASSERT_TRUE(analysis_.PaintGraph(5));
  EXPECT_EQ(analysis_.Graph().StartLine(), 5);
  EXPECT_EQ(analysis_.Table().TopLine(), 5);
  // Mark at line 10 and 30: 3-pixel ticks at x = 111 + 3 * (line - 5).
  EXPECT_EQ(analysis_.Canvas().PixelAt(111 + 3 * 5, 490), (Rgb{200, 153, 51}));
  EXPECT_EQ(analysis_.Canvas().PixelAt(111 + 3 * 45, 490), (Rgb{51, 123, 51}));
  EXPECT_EQ(analysis_.Canvas().PixelAt(111 + 3 * 15, 118), colour::kBackground);  // above the frame's rows 119-120
}

// The cursor stays inside the plot, and its readout is blank where the line
// under it does not exist.
TEST_F(AnalysisDrawing, GraphCursorReadoutAtTheEdges) {
  struct Case {
    int start, x;
    int clampedX;
    bool valid;
  };
  for (const Case& c : {Case{0, 50, 112, true}, Case{0, 112, 112, true}, Case{0, 792, 792, false},
                        Case{79, 112, 112, true}, Case{79, 115, 115, false}, Case{50, 900, 792, false}}) {
    SCOPED_TRACE(::testing::Message() << c.start << ", x " << c.x);
    ASSERT_TRUE(analysis_.PaintGraph(c.start));
    EXPECT_EQ(ClampCursor(c.x), c.clampedX);
    const CursorReadout readout = ReadoutAt(analysis_.Lines(), c.start, analysis_.Graph().Step(), c.clampedX, false);
    EXPECT_EQ(readout.valid, c.valid);
    if (c.valid) { EXPECT_EQ(readout.rpm, "2001"); }
  }
}

}  // namespace
}  // namespace vantor::ui
