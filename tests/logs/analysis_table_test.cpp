#include <gtest/gtest.h>

#include "support/analysis_samples.h"
#include "logs/analysis_table_model.h"
#include "support/analysis_test_support.h"

namespace vantor {
namespace {

using namespace testlog;

struct Messages {
  std::vector<std::pair<std::string, std::string>> shown;
  MessageHook Hook() {
    return [this](const std::string& text, const std::string& caption) { shown.emplace_back(text, caption); };
  }
};

// The marked log: 80 frames, marks before frames 10 and 30, a stamp before 50.
class AnalysisTable : public ::testing::Test {
 protected:
  void SetUp() override {
    LogBuilder().Raw(MarkedLog()).Save(dir_.File("log.dat"));
    ASSERT_TRUE(view_.Create(dir_.Path()));
    ASSERT_EQ(BuildViewFile(view_, dir_.File("log.dat"), Settings(), {}), ExportResult::kOk);
    table_.Reset();
  }
  TempDir dir_;
  AnalysisViewFile view_;
  AnalysisTableModel table_{view_};
};

TEST_F(AnalysisTable, SelectingASecondRowRestoresTheFirstRowsKind) {
  ASSERT_EQ(table_.LineCount(), 80);
  EXPECT_TRUE(table_.Select(10));
  EXPECT_EQ(view_.Kind(10), kKindSelected);
  EXPECT_EQ(table_.ReplacedKind(), kKindMark);
  EXPECT_TRUE(table_.Select(3));
  EXPECT_EQ(view_.Kind(10), kKindMark);
  EXPECT_EQ(view_.Kind(3), kKindSelected);
  EXPECT_EQ(table_.ReplacedKind(), kKindPlain);
  EXPECT_FALSE(table_.Select(80));
  EXPECT_EQ(table_.SelectedLine(), 3);
}

TEST_F(AnalysisTable, PagingHomeAndEndStayInsideTheLog) {
  const std::pair<void (AnalysisTableModel::*)(), int> steps[] = {
      {&AnalysisTableModel::PageDown, 26}, {&AnalysisTableModel::End, 54},    {&AnalysisTableModel::LineDown, 54},
      {&AnalysisTableModel::PageDown, 54}, {&AnalysisTableModel::PageUp, 28}, {&AnalysisTableModel::LineUp, 27},
      {&AnalysisTableModel::PageUp, 1},    {&AnalysisTableModel::PageUp, 0},  {&AnalysisTableModel::LineUp, 0},
      {&AnalysisTableModel::End, 54},      {&AnalysisTableModel::Home, 0}};
  for (const auto& [step, top] : steps) {
    (table_.*step)();
    EXPECT_EQ(table_.TopLine(), top);
  }
}

TEST_F(AnalysisTable, FindMarkMovesToTheNextMarkedLineThenReportsTheEnd) {
  Messages messages;
  for (const int marked : {10, 30, 50}) {  // the stamp's line counts too
    EXPECT_TRUE(table_.FindNextMark(messages.Hook()));
    EXPECT_EQ(table_.TopLine(), marked);
  }
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(table_.FindNextMark(messages.Hook())) << "no mark follows";
  EXPECT_EQ(table_.TopLine(), 50);
  table_.End();
  EXPECT_FALSE(table_.FindNextMark(messages.Hook())) << "fewer than 26 lines follow the top line";
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].first, "Hit the Home key to start over at the beginning");
  EXPECT_EQ(messages.shown[1].second, "End of File Reached");
}

TEST(AnalysisTableWithoutLog, FindMarkAndQuarterMileAskForALog) {
  AnalysisViewFile view;
  AnalysisTableModel table(view);
  Messages messages;
  EXPECT_FALSE(table.FindNextMark(messages.Hook()));
  EXPECT_EQ(table.QuarterMileStart(messages.Hook()), -1);
  ASSERT_EQ(messages.shown.size(), 2u);
  for (const auto& shown : messages.shown) {
    EXPECT_EQ(shown.first, "Please open a data log...");
    EXPECT_EQ(shown.second, "No Data Log Opened");
  }
}

}  // namespace
}  // namespace vantor
