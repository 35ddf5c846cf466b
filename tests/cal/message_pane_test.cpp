#include "cal/message_pane.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantor {
namespace {

TEST(MessagePane, PadsShortLinesAndCutsLongOnes) {
  MessagePane pane(FlashPaneStyle());
  const std::string exact(48, 'x');
  pane.AddLine(FlashPaneStyle().progress, "abc");
  pane.AddLine(FlashPaneStyle().progress, exact);
  pane.AddLine(FlashPaneStyle().progress, std::string(48, 'y') + std::string(12, 'z'));
  const auto lines = pane.StoredLines();
  EXPECT_EQ(lines[0].text, "abc" + std::string(45, ' '));
  EXPECT_EQ(lines[1].text, exact);
  EXPECT_EQ(lines[2].text, std::string(48, 'y'));
}

TEST(MessagePane, NinthLineScrollsAndSnapshotShowsLinesTwoToNine) {
  MessagePane pane(FlashPaneStyle());
  for (int i = 1; i <= 9; ++i) pane.AddLine(MakeRgb(i, 0, 0), "message " + std::to_string(i));
  EXPECT_EQ(pane.CurrentLine(), 7);
  const auto rows = pane.Snapshot();
  ASSERT_EQ(rows.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(rows[i].text.substr(0, 9), "message " + std::to_string(i + 2));
    EXPECT_EQ(rows[i].background, MakeRgb(i + 2, 0, 0));
  }
}

TEST(MessagePane, ClearEmptiesAndSnapshotShowsClearedRows) {
  MessagePane pane(UpdatePaneStyle());
  pane.AddLine(UpdatePaneStyle().failedStep, "x");
  pane.Clear();
  EXPECT_EQ(pane.CurrentLine(), -1);
  const auto rows = pane.Snapshot();
  ASSERT_EQ(rows.size(), 20u);
  EXPECT_EQ(rows[0].text, std::string(80, ' '));
  EXPECT_EQ(rows[0].background, MakeRgb(220, 220, 220));
}

TEST(MessagePane, HooksSeeTheUnpaddedTextAndEveryChange) {
  MessagePane pane(FlashPaneStyle());
  std::vector<std::string> shown;
  int changes = 0;
  pane.SetLineHook([&](Rgb, std::string_view text) { shown.emplace_back(text); });
  pane.SetChangeHook([&] {
    ++changes;
    pane.Snapshot();  // a window may read the pane from its hook
  });
  pane.AddLine(FlashPaneStyle().progress, "Bank #: 1 ");
  pane.AddLine(FlashPaneStyle().progress, std::string(60, 'q'));
  pane.Clear();
  EXPECT_EQ(shown, (std::vector<std::string>{"Bank #: 1 ", std::string(48, 'q')}));
  EXPECT_EQ(changes, 3);
}

TEST(MessagePane, ColoursOfBothPrograms) {
  EXPECT_EQ(FlashPaneStyle().lines, 8);
  EXPECT_EQ(FlashPaneStyle().width, 48);
  EXPECT_EQ(FlashPaneStyle().failedStep, MakeRgb(150, 106, 3));
  EXPECT_EQ(FlashPaneStyle().success, MakeRgb(33, 165, 33));
  EXPECT_EQ(FlashPaneStyle().finalFailure, MakeRgb(225, 60, 60));
  EXPECT_EQ(UpdatePaneStyle().lines, 20);
  EXPECT_EQ(UpdatePaneStyle().width, 80);
  EXPECT_EQ(UpdatePaneStyle().text, MakeRgb(20, 20, 20));
  EXPECT_EQ(UpdatePaneStyle().failedStep, MakeRgb(255, 255, 0));
  EXPECT_EQ(UpdatePaneStyle().finalFailure, MakeRgb(245, 80, 80));
}

}  // namespace
}  // namespace vantor
