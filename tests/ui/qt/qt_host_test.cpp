// The Qt host on Qt's offscreen platform: its controls, the user's events,
// the picture under controls, a dialog page and a file chooser.

#include "ui/qt/qt_host.h"
#include "ui/recording_events.h"

#include <QtWidgets>

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/qt_window.h"
#include "ui/window/canvas_surface.h"
#include "ui/window/window_controls.h"

namespace vantor::ui {
namespace {

using namespace control_style;

QApplication& App() {
  static int argc = 1;
  static char name[] = "qt_host_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Runs the event loop until done() holds, at most ten seconds.
bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > 10000) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

using Recorder = test::RecordingEvents;

class QtHostTest : public ::testing::Test {
 protected:
  QtHostTest() {
    App();
    surface.SetPainter([](Canvas& canvas) {
      canvas.FillRect(Rect{0, 0, 800, 600}, Rgb{20, 20, 20});
      canvas.FillRect(Rect{160, 70, 360, 110}, Rgb{200, 153, 51});  // under the controls below
    });
    window = host.CreateWindow(WindowSpec{"Test", 800, 600, WindowKind::Main, {}}, events, &surface, nullptr);
    surface.Attach(window.get());
    surface.RepaintAll();
    window->Show();
  }
  ~QtHostTest() override { surface.Attach(nullptr); }
  QWidget* Top() const { return static_cast<QtWindow*>(window.get())->Top(); }
  template <typename T>
  T* Only() const {
    const auto found = Top()->findChildren<T*>();
    return found.size() == 1 ? found.front() : nullptr;
  }

  QtHost host;
  Recorder events;
  CanvasSurface surface{host, 800, 600};
  std::unique_ptr<WindowHost> window;
};

TEST_F(QtHostTest, ControlsAreMadeByKindWithTheirPlacesAndColours) {
  const ControlColours light{Rgb{240, 240, 240}, Rgb{20, 20, 20}, true, {}};
  std::vector<ControlSpec> specs = {
      Control(1, ControlKind::CheckBox, "Verify", 120, 334, 130, 20, kTextLeft),
      Control(2, ControlKind::RadioButton, "0", 120, 80, 30, 20, kGroupStart),
      Control(3, ControlKind::RadioButton, "1", 170, 80, 30, 20),
      Control(4, ControlKind::Edit, "12", 10, 10, 60, 20, kDigitsOnly),
      Control(5, ControlKind::Trackbar, "", 635, 99, 150, 22, kTicks),
      Control(6, ControlKind::CheckBox, "Pause", 710, 43, 70, 20, kPushLike),
  };
  specs[0].colours = light;
  specs[3].maxLength = 5;
  CreateControls(*window, specs);
  window->SetRange(5, 0, 100, 10);
  auto* box = Only<QCheckBox>();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->geometry(), QRect(120, 334, 130, 20));
  EXPECT_EQ(box->layoutDirection(), Qt::RightToLeft);
  EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(240, 240, 240));
  auto* edit = Only<QLineEdit>();
  EXPECT_EQ(edit->maxLength(), 5);
  EXPECT_NE(edit->validator(), nullptr);
  EXPECT_EQ(Only<QSlider>()->tickInterval(), 10);
  EXPECT_TRUE(Only<QPushButton>()->isCheckable());

  window->SetChecked(3, true);
  window->SetChecked(2, true);  // one group: the other goes out
  EXPECT_FALSE(window->Checked(3));
  window->DestroyControl(2);
  window->DestroyControl(3);
  EXPECT_EQ(Top()->findChildren<QRadioButton*>().size(), 0);
}

TEST_F(QtHostTest, TheUsersEventsReachTheLayer) {
  window->CreateControl(Control(1, ControlKind::Button, "Apply", 640, 500, 80, 30));
  window->CreateControl(Control(2, ControlKind::ScrollBar, "", 774, 104, 18, 443));
  window->SetRange(2, 0, 100, 26);
  Only<QPushButton>()->click();
  ASSERT_EQ(events.controls.size(), 1u);
  EXPECT_EQ(events.controls[0].id, 1);
  EXPECT_EQ(events.controls[0].action, ControlAction::Clicked);

  QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(Only<QScrollBar>(), &wheel);
  ASSERT_EQ(events.controls.size(), 2u);
  EXPECT_EQ(events.controls[1].scroll, ScrollRequest::LineDown);
  EXPECT_EQ(window->Value(2), 0);  // the layer moves the bar, not the wheel

  window->Focus(0, false);
  QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
  QApplication::sendEvent(Top()->findChild<ClientView*>(), &backtab);
  ASSERT_FALSE(events.keys.empty());
  EXPECT_EQ(events.keys.back().key, Key::Tab);
  EXPECT_TRUE(events.keys.back().shift);

  EXPECT_FALSE(Top()->close());  // the layer keeps it
  events.allowClose = true;
  EXPECT_TRUE(Top()->close());
  EXPECT_EQ(events.closeRequests, 2);
}

// A button over a tab the window paints, and a frame over a pane: both show
// the window's picture under them exactly.
TEST_F(QtHostTest, ControlsOverThePictureLeaveItsPixels) {
  window->CreateControl(Control(1, ControlKind::Button, "Boost", 169, 81, 82, 20, kDrawnByWindow));
  window->CreateControl(Control(2, ControlKind::GroupBox, "Messages", 150, 40, 260, 120, kFrameOnly));
  const QImage shown = Top()->grab().toImage();
  for (QPoint at : {QPoint(200, 90), QPoint(300, 100), QPoint(170, 75)})
    EXPECT_EQ(shown.pixelColor(at + Top()->findChild<ClientView*>()->pos()), QColor(200, 153, 51)) << at.x();
}

TEST_F(QtHostTest, DialogPageInDialogUnitsAndEscapeAsksTheLayer) {
  Recorder dialogEvents;
  dialogEvents.allowClose = true;
  DialogSpec spec{"Preferences", 385, 201, {}};
  ControlSpec tabs = Control(1051, ControlKind::Tab, "", 6, 6, 373, 170);
  tabs.items = {"General Setup", "ADC Channels"};
  spec.controls = {tabs, Control(1, ControlKind::Button, "OK", 212, 181, 50, 14, kDefault)};
  QRect page, edit;
  host.RunDialog(spec, dialogEvents, [&](WindowHost& dialog) {
    dialog.ShowPage(1051, Point{14, 34}, Point{6, 28}, {Control(1013, ControlKind::Edit, "80", 80, 28, 30, 12)});
    QTimer::singleShot(0, [&] {
      auto* top = QApplication::activeModalWidget();
      ASSERT_NE(top, nullptr);
      edit = top->findChild<QLineEdit*>()->geometry();
      page = top->findChild<QLineEdit*>()->parentWidget()->geometry();
      QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
      QApplication::sendEvent(top, &escape);
    });
  }, window.get());
  const DialogUnits units(DialogFont());
  EXPECT_EQ(edit, units.Rect(80, 28, 30, 12));
  EXPECT_EQ(page.topLeft(), QPoint(14, 34));
  EXPECT_EQ(page.width(), units.X(373) - 6);
  EXPECT_EQ(dialogEvents.closeRequests, 1);
}

QStringList Listed(QFileDialog& dialog) {
  QStringList names;
  auto* list = dialog.findChild<QListView*>("listView");
  if (!list) return names;
  const QModelIndex root = list->rootIndex();
  for (int row = 0; row < list->model()->rowCount(root); ++row) names << list->model()->index(row, 0, root).data().toString();
  return names;
}

// "All (*.*)" lists every file, names without a dot too.
TEST_F(QtHostTest, ChooserListsEveryFileUnderAll) {
  vantor::test::TempDir dir;
  for (const char* name : {"drive.dat", "capture", "notes.txt"}) std::ofstream(dir.File(name)) << "x";
  QStringList dataLogs, all;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* typeList = dialog->findChild<QComboBox*>("fileTypeCombo");
    WaitFor([&] { return Listed(*dialog).contains("drive.dat"); });
    dataLogs = Listed(*dialog);
    typeList->setCurrentIndex(1);
    emit typeList->activated(1);  // as a choice in the list does
    WaitFor([&] { return Listed(*dialog).size() == 3; });
    all = Listed(*dialog);
    dialog->reject();
  });
  const FileChooserSpec spec{"Select File to Playback", dir.Path(), "", {{"DataLogs (*.dat)", "*.dat"}, {"All (*.*)", "*.*"}},
                             "dat", false};
  EXPECT_EQ(host.ChooseFile(spec, window.get()), std::nullopt);
  all.sort();
  EXPECT_EQ(dataLogs.join(" | ").toStdString(), "drive.dat");
  EXPECT_EQ(all.join(" | ").toStdString(), "capture | drive.dat | notes.txt");
}

}  // namespace
}  // namespace vantor::ui
