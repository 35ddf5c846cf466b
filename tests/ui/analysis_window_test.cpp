// The Analysis window's own rules on the offscreen platform: the byte source
// while it is open, selection across paging, Find Mark, the next-control
// order, the graph opened from a double click, and its failure messages.
#ifdef VANTOR_HAS_UI_QT

#include "ui/qt/analysis_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "logs/analysis_samples.h"
#include "logs/analysis_test_support.h"
#include "ui/offscreen_app.h"
#include "sim/sim_serial.h"
#include "ui/draw/headless_analysis.h"
#include "ui/draw/headless_display.h"
#include "ui/draw/menu_commands.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qtr_graph_window.h"

namespace vantor::ui {
namespace {

using namespace testlog;

constexpr Rgb kSelectedRow{51, 51, 123};
constexpr Rgb kMarkRow{200, 153, 51};

int RowY(int row) { return 104 + 17 * row + 5; }

class AnalysisWindowTest : public ::testing::Test {
 protected:
  AnalysisWindowTest() {
    LogBuilder().Raw(MarkedLog()).Save(dir.File("run.dat"));
    client.setFixedSize(800, 600);
    window = std::make_unique<AnalysisWindow>(AnalysisParts{
        settings, sources, dir.Path(), client, surface, nullptr,
        [this](const std::string& text, const std::string& caption) { shown.push_back(caption + ": " + text); },
        [this](const std::string&, const std::string&, const std::string&) { return chosen; }});
    window->Open();
  }

  void View(const std::string& name) {
    chosen = dir.File(name);
    window->ViewLog();
  }
  void Click(int row) {
    window->MouseDown(100, RowY(row));
    window->MouseUp(102, RowY(row) + 2);
  }
  Rgb RowColour(int row) const { return canvas.PixelAt(5, RowY(row)); }
  std::string LastShown() const { return shown.empty() ? "" : shown.back(); }

  struct AppFirst {
    AppFirst() { testing::OffscreenApp(); }
  } app;  // the application exists before the widgets
  TempDir dir;
  Settings settings;
  ByteSources sources{nullptr, ByteSourceId::Live};
  QWidget client;
  RasterCanvas canvas{800, 600};
  RasterSurface surface{canvas};
  std::vector<std::string> shown;
  std::string chosen;
  std::unique_ptr<AnalysisWindow> window;
};

TEST_F(AnalysisWindowTest, AnalysisSourceWhileOpenRestoredOnceOnClose) {
  EXPECT_EQ(sources.Current(), ByteSourceId::Analysis);
  window->Close();
  EXPECT_EQ(sources.Current(), ByteSourceId::Live);
  sources.Select(ByteSourceId::Playback);
  window->Close();  // closed already: nothing to restore
  EXPECT_EQ(sources.Current(), ByteSourceId::Playback);
  EXPECT_EQ(window->Control(AnalysisControl::ViewLog), nullptr);
}

TEST_F(AnalysisWindowTest, ViewLogBuildsTheTableAndRemembersTheLog) {
  View("run.dat");
  EXPECT_EQ(window->Table().LineCount(), kMarkedLogLines);
  EXPECT_EQ(settings.analysisName, "run.dat");
  EXPECT_EQ(settings.analysis, dir.File("run.dat"));
  auto* bar = static_cast<QScrollBar*>(window->Control(AnalysisControl::ScrollBar));
  EXPECT_EQ(bar->maximum(), kMarkedLogLines - 26);
  EXPECT_EQ(bar->pageStep(), 26);
  EXPECT_TRUE(shown.empty()) << LastShown();
}

// The selected line keeps its kind remembered while the table moves, and gets
// it back when another line is selected.
TEST_F(AnalysisWindowTest, SelectionKindIsKeptAcrossPaging) {
  View("run.dat");
  Click(10);
  ASSERT_EQ(window->Table().SelectedLine(), 10);
  for (TableScroll move : {TableScroll::PageDown, TableScroll::Bottom, TableScroll::PageUp, TableScroll::Top,
                           TableScroll::LineDown, TableScroll::LineUp}) {
    window->Scroll(move);
    EXPECT_EQ(window->Table().SelectedLine(), 10);
    EXPECT_EQ(window->Table().ReplacedKind(), kKindMark);
  }
  EXPECT_EQ(RowColour(10), kSelectedRow);
  Click(3);
  EXPECT_EQ(window->Table().SelectedLine(), 3);
  EXPECT_EQ(RowColour(10), kMarkRow);
  EXPECT_EQ(RowColour(3), kSelectedRow);
  window->MouseDown(100, RowY(5));
  window->MouseUp(106, RowY(5));  // moved more than 5 pixels: no selection
  EXPECT_EQ(window->Table().SelectedLine(), 3);
}

TEST_F(AnalysisWindowTest, FindMarkWalksTheMarksThenReportsTheEnd) {
  window->FindMark();
  EXPECT_EQ(LastShown(), "No Data Log Opened: Please open a data log...");
  View("run.dat");
  struct Step {
    bool home;
    int top;
    bool endMessage;
  };
  const Step steps[] = {{false, 10, false}, {false, 30, false}, {false, 50, false},
                        {false, 50, true},  {true, 10, false}};
  for (const Step& step : steps) {
    shown.clear();
    if (step.home) window->HandleKey(Qt::Key_Home);
    window->FindMark();
    EXPECT_EQ(window->Table().TopLine(), step.top);
    EXPECT_EQ(LastShown(), step.endMessage ? "End of File Reached: Hit the Home key to start over at the beginning" : "");
  }
}

TEST_F(AnalysisWindowTest, TabEnterAndEscapeMoveTheFocusAlongTheControls) {
  client.show();
  client.activateWindow();
  ASSERT_TRUE(testing::WaitFor([&] { return client.isActiveWindow(); }));
  window->Control(AnalysisControl::ViewLog)->setFocus();
  struct Press {
    int key;
    Qt::KeyboardModifiers modifiers;
    AnalysisControl focused;
  };
  const Press presses[] = {{Qt::Key_Tab, Qt::NoModifier, AnalysisControl::DumpLog},
                           {Qt::Key_Return, Qt::NoModifier, AnalysisControl::SingleHeader},
                           {Qt::Key_Escape, Qt::NoModifier, AnalysisControl::CreateCsv},
                           {Qt::Key_Tab, Qt::ShiftModifier, AnalysisControl::SingleHeader},
                           {Qt::Key_Backtab, Qt::ShiftModifier, AnalysisControl::DumpLog},
                           {Qt::Key_Backtab, Qt::ShiftModifier, AnalysisControl::ViewLog},
                           {Qt::Key_Backtab, Qt::ShiftModifier, AnalysisControl::ScrollBar},
                           {Qt::Key_Tab, Qt::NoModifier, AnalysisControl::ViewLog}};
  for (const Press& press : presses) {
    QKeyEvent event(QEvent::KeyPress, press.key, press.modifiers);
    QApplication::sendEvent(QApplication::focusWidget(), &event);
    EXPECT_TRUE(testing::WaitFor([&] { return window->Control(press.focused)->hasFocus(); }))
        << "key " << press.key << " should focus control " << static_cast<int>(press.focused);
  }
}

TEST_F(AnalysisWindowTest, DoubleClickOpensTheGraphFromTheRowAndItFollowsTheTable) {
  View("run.dat");
  window->MouseDown(100, RowY(3));
  window->MouseUp(100, RowY(3));
  window->DoubleClick(100, RowY(3));
  window->MouseUp(100, RowY(3));  // the double click's own release selects nothing more
  ASSERT_NE(window->Graph(), nullptr);
  EXPECT_EQ(window->Graph()->Painter().StartLine(), 3);
  EXPECT_EQ(window->Table().TopLine(), 3);
  EXPECT_EQ(window->Table().SelectedLine(), 3);
  EXPECT_EQ(window->Graph()->objectName(), "QTRGRAPH");
  EXPECT_EQ(window->Graph()->windowTitle(), "1/4 Mile Graph");

  QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
  QApplication::sendEvent(window->Graph(), &right);
  EXPECT_EQ(window->Table().TopLine(), 4);
  EXPECT_EQ(window->Graph()->Painter().StartLine(), 4);
  EXPECT_EQ(window->Graph()->ScrollBar()->value(), 4);
  EXPECT_EQ(window->Graph()->ScrollBar()->maximum(), kMarkedLogLines - 26);

  window->Close();
  EXPECT_EQ(window->Graph(), nullptr);
  EXPECT_TRUE(QtrGraphWindow::RememberedPosition().has_value());
}

TEST_F(AnalysisWindowTest, QuarterMileNeedsANonEmptyTable) {
  window->QuarterMile();
  EXPECT_EQ(LastShown(), "No Data Log Opened: Please open a data log...");
  LogBuilder().Raw("no frames here").Save(dir.File("empty.dat"));
  View("empty.dat");
  shown.clear();
  window->QuarterMile();
  window->DoubleClick(100, RowY(0));
  EXPECT_EQ(LastShown(), "No Data Log Opened: Please open a data log...");
  EXPECT_EQ(window->Graph(), nullptr);
  EXPECT_EQ(window->Table().SelectedLine(), -1);
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
  EXPECT_TRUE(std::filesystem::exists(dir.File("run.csv")));
}

// A settings change rebuilds the table on the next paint and keeps
// the selection.
TEST_F(AnalysisWindowTest, SettingsChangeRebuildsTheTableOnTheNextPaint) {
  View("run.dat");
  Click(10);
  settings.kphOrMph = 1;
  window->SettingsChanged();
  window->Body().Paint(canvas);
  window->Body().Paint(canvas);
  QCoreApplication::processEvents();
  char lines[26 * kViewLineSize];
  ASSERT_EQ(window->Table().VisibleLines(lines), 26);
  EXPECT_EQ(std::string(lines + view_field::kSpeed, 3), " 72");  // 45 mph in km/h
  EXPECT_EQ(window->Table().SelectedLine(), 10);
  EXPECT_EQ(window->Table().ReplacedKind(), kKindMark);
  EXPECT_EQ(lines[10 * kViewLineSize], kKindSelected);
}

// The graph's scroll bar mirrors the table and forwards whatever moves its
// thumb: the table, the bar and the graph stay together.
TEST_F(AnalysisWindowTest, GraphScrollBarMovesTheTable) {
  View("run.dat");
  window->QuarterMile();
  ASSERT_NE(window->Graph(), nullptr);
  QScrollBar* bar = window->Graph()->ScrollBar();
  auto wheel = [bar](int delta) {
    QWheelEvent turn(QPointF(50, 9), QPointF(50, 9), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(bar, &turn);
  };
  struct Case {
    const char* how;
    std::function<void()> move;
    int top;
  };
  const Case cases[] = {
      {"wheel towards the user", [&] { wheel(-120); }, 1},
      {"wheel away", [&] { wheel(120); }, 0},
      {"thumb put at a position", [&] { bar->setSliderPosition(20); }, 20},
      {"page right", [&] { bar->triggerAction(QAbstractSlider::SliderPageStepAdd); }, 46},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    c.move();
    EXPECT_EQ(window->Table().TopLine(), c.top);
    EXPECT_EQ(bar->value(), c.top);
    EXPECT_EQ(window->Graph()->Painter().StartLine(), c.top);
  }
}

// The check boxes' labels are the window's text on its background, and the
// screenshot draws them as the window shows them.
TEST_F(AnalysisWindowTest, CheckBoxLabelsInTheWindowColoursAsInTheScreenshot) {
  HeadlessAnalysis shot(settings);
  std::string error;
  ASSERT_TRUE(shot.Load(dir.File("run.dat"), &error)) << error;
  ASSERT_TRUE(shot.PaintDisplay(-1));
  const QColor text(kCheckBoxLabel.text.r, kCheckBoxLabel.text.g, kCheckBoxLabel.text.b);
  const QColor background(kCheckBoxLabel.background.r, kCheckBoxLabel.background.g, kCheckBoxLabel.background.b);
  for (AnalysisControl id : {AnalysisControl::SingleHeader, AnalysisControl::CreateCsv}) {
    SCOPED_TRACE(static_cast<int>(id));
    QWidget* box = window->Control(id);
    EXPECT_EQ(box->palette().color(QPalette::WindowText), text);
    const QImage shown = box->grab().toImage();
    EXPECT_EQ(shown.pixelColor(shown.width() - 2, shown.height() / 2), background);

    const Rect& place = kAnalysisControls[static_cast<std::size_t>(id)].rect;
    int textPixels = 0;
    for (int y = place.top; y < place.bottom; ++y)
      for (int x = place.left + 18; x < place.right; ++x)
        textPixels += shot.Canvas().PixelAt(x, y) == kCheckBoxLabel.text;
    EXPECT_GT(textPixels, 20);
    EXPECT_EQ(shot.Canvas().PixelAt(place.right - 2, place.top + 1), kCheckBoxLabel.background);
  }
}

// In the main window: the display thread's source is the analysis file while
// Analysis is shown, and the previous one again afterwards.
TEST(AnalysisInMainWindow, SelectsTheAnalysisSourceWhileShown) {
  testing::OffscreenApp();
  TempDir dir;
  Settings settings;
  settings.port = sim::kSimPortName;
  ProgramParts parts(settings, dir.File("test.cfg"));
  MainWindow window(parts);
  window.Start();
  window.Command(cmd::kAnalysis);
  EXPECT_EQ(parts.session.Sources().Current(), ByteSourceId::Analysis);
  EXPECT_NE(window.findChild<QPushButton*>(), nullptr);
  window.Command(cmd::kVantor);
  EXPECT_EQ(parts.session.Sources().Current(), ByteSourceId::Live);
  EXPECT_EQ(window.findChild<QScrollBar*>(), nullptr);
}

}  // namespace
}  // namespace vantor::ui

#endif  // VANTOR_HAS_UI_QT
