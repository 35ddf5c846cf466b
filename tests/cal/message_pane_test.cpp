#include "cal/message_pane.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantor {
namespace {

TEST(MessagePane, PadsShortLinesCutsLongOnesAndHooksSeeTheUnpaddedTextAndEveryChange) {
  MessagePane pane(FlashPaneStyle());
  std::vector<std::string> shown;
  int changes = 0;
  pane.SetLineHook([&](Rgb, std::string_view text) { shown.emplace_back(text); });
  pane.SetChangeHook([&] {
    ++changes;
    pane.Snapshot();  // a window may read the pane from its hook
  });
  const std::string exact(48, 'x');
  for (const std::string& text : {std::string("Bank #: 1 "), exact, std::string(48, 'y') + std::string(12, 'z')})
    pane.AddLine(FlashPaneStyle().progress, text);
  const auto lines = pane.StoredLines();
  EXPECT_EQ(lines[0].text, "Bank #: 1 " + std::string(38, ' '));
  EXPECT_EQ(lines[1].text, exact);
  EXPECT_EQ(lines[2].text, std::string(48, 'y'));
  pane.Clear();
  EXPECT_EQ(shown, (std::vector<std::string>{"Bank #: 1 ", exact, std::string(48, 'y')}));
  EXPECT_EQ(changes, 4);
}

TEST(MessagePane, NinthLineScrollsAndClearLeavesBlankRowsOfItsStyle) {
  MessagePane pane(FlashPaneStyle());
  for (int i = 1; i <= 9; ++i) pane.AddLine(MakeRgb(i, 0, 0), "message " + std::to_string(i));
  EXPECT_EQ(pane.CurrentLine(), 7);
  const auto rows = pane.Snapshot();
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_EQ(rows[0].text.substr(0, 9), "message 2");
  EXPECT_EQ(rows[7].background, MakeRgb(9, 0, 0));
  MessagePane update(UpdatePaneStyle());
  update.AddLine(UpdatePaneStyle().failedStep, "x");
  update.Clear();
  EXPECT_EQ(update.CurrentLine(), -1);
  const auto cleared = update.Snapshot();
  ASSERT_EQ(cleared.size(), 20u);
  EXPECT_EQ(cleared[0].text, std::string(80, ' '));
}

}  // namespace
}  // namespace vantor
