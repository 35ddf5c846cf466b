// The Analysis window on the recording host: its byte source, selection,
// Find Mark, the control order, the graph, and its failure messages.

#include "ui/window/analysis_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "support/fake_host.h"
#include "support/analysis_samples.h"
#include "support/analysis_test_support.h"
#include "ui/draw/headless_analysis.h"
#include "ui/draw/headless_display.h"

namespace vantor::ui {
namespace {

using namespace testlog;
using test::FakeWindow;

constexpr Rgb kSelectedRow{51, 51, 123};
constexpr Rgb kMarkRow{200, 153, 51};

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
  Rgb RowColour(int row) const { return canvas.PixelAt(5, RowY(row)); }
  std::string LastShown() const { return shown.empty() ? "" : shown.back(); }
  FakeWindow& Graph() { return static_cast<FakeWindow&>(window->Graph()->Window()); }

  TempDir dir;
  Settings settings;
  ByteSources sources{nullptr, ByteSourceId::Live};
  test::FakeHost host;
  ToAnalysis clientEvents;
  FakeWindow client{host, "Vantor", clientEvents, nullptr, false};
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

// The selected line keeps its kind remembered while the table moves, and gets
// it back when another line is selected.
TEST_F(AnalysisWindowTest, SelectionKindIsKeptAcrossPaging) {
  View("run.dat");
  Click(10);
  window->Scroll(TableScroll::Bottom);
  window->Scroll(TableScroll::Top);
  EXPECT_EQ(window->Table().ReplacedKind(), kKindMark);
  EXPECT_EQ(RowColour(10), kSelectedRow);
  Click(3);
  EXPECT_EQ(RowColour(10), kMarkRow);
  EXPECT_EQ(RowColour(3), kSelectedRow);
  Mouse(MouseAction::Press, 5);
  Mouse(MouseAction::Release, 5, 6);  // moved more than 5 pixels: no selection
  EXPECT_EQ(window->Table().SelectedLine(), 3);
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

// TAB, ENTER and ESC on a control post a next-control request (backwards with SHIFT).
TEST_F(AnalysisWindowTest, TabEnterAndEscapeMoveTheFocusAlongTheControls) {
  struct Press {
    Key key;
    bool shift;
    AnalysisControl focused;
  };
  const Press presses[] = {{Key::Tab, false, AnalysisControl::DumpLog},  {Key::Enter, false, AnalysisControl::SingleHeader},
                           {Key::Escape, false, AnalysisControl::CreateCsv}, {Key::Tab, true, AnalysisControl::SingleHeader}};
  for (const Press& press : presses) {
    EXPECT_TRUE(client.Press(press.key, 0, press.shift));
    host.Pump();
    EXPECT_EQ(client.FocusedControl(), Id(press.focused)) << static_cast<int>(press.focused);
  }
}

TEST_F(AnalysisWindowTest, DoubleClickOpensTheGraphFromTheRowAndItFollowsTheTable) {
  View("run.dat");
  Click(3);
  Mouse(MouseAction::DoubleClick, 3);
  Mouse(MouseAction::Release, 3);  // the double click's own release selects nothing more
  ASSERT_NE(window->Graph(), nullptr);
  EXPECT_EQ(window->Graph()->Painter().StartLine(), 3);
  EXPECT_EQ(Graph().Position(), (Point{1280 / 2 - 380, 1024 / 2 - 280}));

  Graph().Press(Key::Right);
  EXPECT_EQ(window->Graph()->Painter().StartLine(), 4);
  Graph().Move(Point{5, 6});
  window->Close();
  EXPECT_EQ(window->Graph(), nullptr);
  EXPECT_EQ(QtrGraphWindow::RememberedPosition(), (Point{5, 6}));
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

// A settings change rebuilds the table on the next paint and keeps the selection.
TEST_F(AnalysisWindowTest, SettingsChangeRebuildsTheTableOnTheNextPaint) {
  View("run.dat");
  Click(10);
  settings.kphOrMph = 1;
  window->SettingsChanged();
  window->Body().Paint(canvas);
  window->Body().Paint(canvas);
  host.Pump();
  char lines[26 * kViewLineSize];
  ASSERT_EQ(window->Table().VisibleLines(lines), 26);
  EXPECT_EQ(std::string(lines + view_field::kSpeed, 3), " 72");  // 45 mph in km/h
  EXPECT_EQ(lines[10 * kViewLineSize], kKindSelected);
}

// The graph's scroll bar mirrors the table and forwards whatever moves its
// thumb: the table, the bar and the graph stay together; closing it keeps its corner.
TEST_F(AnalysisWindowTest, GraphScrollBarMovesTheTable) {
  View("run.dat");
  window->QuarterMile();
  ASSERT_NE(window->Graph(), nullptr);
  constexpr int kBar = QtrGraphWindow::kScrollBarId;
  struct Case {
    ScrollRequest request;
    int position, top;
  };
  const Case cases[] = {{ScrollRequest::LineDown, 0, 1}, {ScrollRequest::Track, 20, 20}, {ScrollRequest::PageDown, 0, 46}};
  for (const Case& c : cases) {
    Graph().Scroll(kBar, c.request, c.position);
    EXPECT_EQ(window->Table().TopLine(), c.top);
    EXPECT_EQ(Graph().Value(kBar), c.top);
    EXPECT_EQ(window->Graph()->Painter().StartLine(), c.top);
  }
  EXPECT_TRUE(Graph().CloseBox());
  EXPECT_EQ(window->Graph(), nullptr);
}

// The check boxes' labels are the window's text on its background, and the
// screenshot draws them as the window shows them.
TEST_F(AnalysisWindowTest, CheckBoxLabelsInTheWindowColoursAsInTheScreenshot) {
  HeadlessAnalysis shot(settings);
  std::string error;
  ASSERT_TRUE(shot.Load(dir.File("run.dat"), &error)) << error;
  ASSERT_TRUE(shot.PaintDisplay(-1));
  for (AnalysisControl id : {AnalysisControl::SingleHeader, AnalysisControl::CreateCsv}) {
    SCOPED_TRACE(static_cast<int>(id));
    const auto& colours = client.Find(Id(id))->spec.colours;
    ASSERT_TRUE(colours.has_value());
    EXPECT_EQ(colours->text, kCheckBoxLabel.text);
    const Rect& place = kAnalysisControls[static_cast<std::size_t>(id)].rect;
    int textPixels = 0;
    for (int y = place.top; y < place.bottom; ++y)
      for (int x = place.left + 18; x < place.right; ++x) textPixels += shot.Canvas().PixelAt(x, y) == kCheckBoxLabel.text;
    EXPECT_GT(textPixels, 20);
    EXPECT_EQ(shot.Canvas().PixelAt(place.right - 2, place.top + 1), kCheckBoxLabel.background);
  }
}

}  // namespace
}  // namespace vantor::ui
