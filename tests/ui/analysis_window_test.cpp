// The Analysis window on the recording host: its byte source, Find Mark,
// the graph, and its failure messages.

#include "ui/window/analysis_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "support/fake_host.h"
#include "support/analysis_samples.h"
#include "support/analysis_test_support.h"
#include "ui/draw/headless_display.h"

namespace vantor::ui {
namespace {

using namespace testlog;
using test::FakeWindow;

int RowY(int row) { return 104 + 17 * row + 5; }
int Id(AnalysisControl control) { return AnalysisWindow::ControlId(control); }

// The main window hands its control, key and mouse events to the open Analysis window.
struct ToAnalysis final : WindowEvents {
  AnalysisWindow* window = nullptr;
  void OnControl(const ControlEvent& event) override { window->OnControl(event); }
  bool OnKey(const KeyEvent& key) override { return window->OnKey(key); }
  void OnMouse(const MouseEvent& mouse) override { window->OnMouse(mouse); }
};

class AnalysisWindowTest : public ::testing::Test {
 protected:
  AnalysisWindowTest() {
    LogBuilder().Raw(MarkedLog()).Save(dir.File("run.dat"));
    window = std::make_unique<AnalysisWindow>(AnalysisParts{
        settings, sources, dir.Path(), host, client, surface,
        [this](const std::string& text, const std::string& caption) { shown.push_back(caption + ": " + text); },
        [this](const std::string&, const std::string&, const std::string&) { return chosen; }});
    clientEvents.window = window.get();
    window->Open();
  }

  void View(const std::string& name) {
    chosen = dir.File(name);
    window->ViewLog();
  }
  void Mouse(MouseAction action, int row, int dx = 0) {
    window->OnMouse(MouseEvent{action, Point{100 + dx, RowY(row)}, true, 0});
  }
  void Click(int row) {
    Mouse(MouseAction::Press, row);
    Mouse(MouseAction::Release, row, 2);
  }
  std::string LastShown() const { return shown.empty() ? "" : shown.back(); }
  FakeWindow& Graph() { return static_cast<FakeWindow&>(window->Graph()->Window()); }

  TempDir dir;
  Settings settings;
  ByteSources sources{nullptr, ByteSourceId::Live};
  test::FakeHost host;
  ToAnalysis clientEvents;
  FakeWindow client{host, clientEvents, false};
  RasterCanvas canvas{800, 600};
  RasterSurface surface{canvas};
  std::vector<std::string> shown;
  std::string chosen;
  std::unique_ptr<AnalysisWindow> window;
};

TEST_F(AnalysisWindowTest, AnalysisSourceWhileOpenRestoredOnceOnClose) {
  EXPECT_EQ(sources.Current(), ByteSourceId::Analysis);
  EXPECT_EQ(client.FocusedControl(), Id(AnalysisControl::ViewLog));
  window->Close();
  EXPECT_EQ(sources.Current(), ByteSourceId::Live);
  sources.Select(ByteSourceId::Playback);
  window->Close();  // closed already: nothing to restore
  EXPECT_EQ(sources.Current(), ByteSourceId::Playback);
}

TEST_F(AnalysisWindowTest, ViewLogBuildsTheTableAndRemembersTheLog) {
  View("run.dat");
  EXPECT_EQ(window->Table().LineCount(), kMarkedLogLines);
  EXPECT_EQ(settings.analysis, dir.File("run.dat"));
  EXPECT_EQ(client.Find(Id(AnalysisControl::ScrollBar))->maximum, kMarkedLogLines - 26);
}

TEST_F(AnalysisWindowTest, FindMarkWalksTheMarksThenReportsTheEnd) {
  View("run.dat");
  for (int i = 0; i < 4; ++i) client.Click(Id(AnalysisControl::FindMark));
  EXPECT_EQ(window->Table().TopLine(), 50);
  EXPECT_EQ(LastShown(), "End of File Reached: Hit the Home key to start over at the beginning");
  window->OnKey(KeyEvent{Key::Home, 0, false, false, true, 0});
  client.Click(Id(AnalysisControl::FindMark));
  EXPECT_EQ(window->Table().TopLine(), 10);
}

TEST_F(AnalysisWindowTest, DoubleClickOpensTheGraphFromTheRowAndItFollowsTheTable) {
  View("run.dat");
  Click(3);
  Mouse(MouseAction::DoubleClick, 3);
  Mouse(MouseAction::Release, 3);  // the double click's own release selects nothing more
  ASSERT_NE(window->Graph(), nullptr);
  EXPECT_EQ(window->Graph()->Painter().StartLine(), 3);

  Graph().Press(Key::Right);
  EXPECT_EQ(window->Graph()->Painter().StartLine(), 4);
  window->Close();
  EXPECT_EQ(window->Graph(), nullptr);
}

TEST_F(AnalysisWindowTest, QuarterMileNeedsANonEmptyTable) {
  LogBuilder().Raw("no frames here").Save(dir.File("empty.dat"));
  View("empty.dat");
  window->QuarterMile();
  EXPECT_EQ(LastShown(), "No Data Log Opened: Please open a data log...");
  EXPECT_EQ(window->Graph(), nullptr);
}

TEST_F(AnalysisWindowTest, UnreadableLogAndDumpOntoItselfAreReported) {
  std::filesystem::create_directory(dir.File("folder.dat"));
  View("folder.dat");
  EXPECT_EQ(LastShown().rfind("File Read Error: ", 0), 0u) << LastShown();

  LogBuilder().Raw(MarkedLog()).Save(dir.File("run.ORV"));
  settings.anaCsv = 0;
  EXPECT_EQ(window->DumpLogFile(dir.File("run.ORV")), ExportResult::kOutputIsLog);
  EXPECT_EQ(LastShown().rfind("File Open Error: The output file would replace the data log itself", 0), 0u);
  EXPECT_EQ(ReadAll(dir.File("run.ORV")), MarkedLog());
  settings.anaCsv = 1;
  EXPECT_EQ(window->DumpLogFile(dir.File("run.ORV")), ExportResult::kOk);
  EXPECT_FALSE(client.Has(AnalysisWindow::kProgress));  // the export's progress bar has gone
}

// The graph's scroll bar moves the table, the bar and the graph together.
TEST_F(AnalysisWindowTest, GraphScrollBarMovesTheTable) {
  View("run.dat");
  window->QuarterMile();
  ASSERT_NE(window->Graph(), nullptr);
  constexpr int kBar = QtrGraphWindow::kScrollBarId;
  Graph().Scroll(kBar, ScrollRequest::Track, 20);
  EXPECT_EQ(window->Table().TopLine(), 20);
  EXPECT_EQ(Graph().Value(kBar), 20);
  EXPECT_EQ(window->Graph()->Painter().StartLine(), 20);
  EXPECT_TRUE(Graph().CloseBox());
  EXPECT_EQ(window->Graph(), nullptr);
}

}  // namespace
}  // namespace vantor::ui
