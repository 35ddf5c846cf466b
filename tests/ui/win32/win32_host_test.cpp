// The Windows API host under Wine (its null display driver will do): controls
// made by kind with their native classes and styles, the user's actions
// delivered to the layer and the layer's own changes not, keys to the layer
// before the controls, a dialog page in dialog units, and a chooser answered.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "support/temp_dir.h"
#include "ui/window/canvas_surface.h"
#include "ui/window/window_controls.h"
#include "ui/win32/win32_host.h"
#include "ui/win32/win32_window.h"
#include "ui/recording_events.h"

#include <dlgs.h>

namespace vantor::ui {
namespace {

using namespace control_style;

using Recorder = test::RecordingEvents;

std::wstring ClassName(HWND hwnd) {
  wchar_t name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

class Win32HostTest : public ::testing::Test {
 protected:
  Win32HostTest() {
    surface.SetPainter([](Canvas& canvas) { canvas.FillRect(Rect{0, 0, 800, 600}, Rgb{200, 153, 51}); });
    window = host.CreateWindow(WindowSpec{"Test", 800, 600, WindowKind::Popup, {}}, events, &surface, nullptr);
    surface.Attach(window.get());
    surface.RepaintAll();
    window->Show();
  }
  ~Win32HostTest() override { surface.Attach(nullptr); }
  HWND Handle() const { return static_cast<Win32Window*>(window.get())->Handle(); }
  HWND Child(int id) const { return GetDlgItem(Handle(), id); }
  LONG_PTR Style(int id) const { return GetWindowLongPtrW(Child(id), GWL_STYLE); }

  Win32Host host;
  Recorder events;
  CanvasSurface surface{host, 800, 600};
  std::unique_ptr<WindowHost> window;
};

TEST_F(Win32HostTest, ControlsAreMadeByKindWithTheirNativeStyles) {
  struct Expected {
    ControlSpec spec;
    const wchar_t* className;
    LONG_PTR style;
  };
  const Expected expected[] = {
      {Control(1, ControlKind::CheckBox, "Verify", 120, 334, 130, 20, kTextLeft), L"Button", BS_AUTOCHECKBOX | BS_LEFTTEXT},
      {Control(2, ControlKind::RadioButton, "0", 120, 80, 30, 20, kGroupStart), L"Button", BS_AUTORADIOBUTTON | WS_GROUP},
      {Control(3, ControlKind::RadioButton, "1", 170, 80, 30, 20), L"Button", BS_AUTORADIOBUTTON},
      {Control(4, ControlKind::Edit, "12", 10, 10, 60, 20, kDigitsOnly), L"Edit", ES_NUMBER},
      {Control(5, ControlKind::Trackbar, "", 635, 99, 150, 22, kTicks), L"msctls_trackbar32", TBS_AUTOTICKS},
      {Control(8, ControlKind::CheckBox, "Pause", 710, 43, 70, 20, kPushLike), L"Button", BS_PUSHLIKE},
      {Control(9, ControlKind::Button, "Boost", 259, 81, 82, 20, kDrawnByWindow), L"Button", BS_OWNERDRAW},
      {Control(10, ControlKind::Button, "<-BackUp", 710, 71, 70, 20, kDoubleClicks), L"Button", BS_NOTIFY},
  };
  for (const Expected& control : expected) {
    ControlSpec spec = control.spec;
    spec.maxLength = 5;
    window->CreateControl(spec);
    ASSERT_NE(Child(spec.id), nullptr) << spec.id;
    EXPECT_EQ(ClassName(Child(spec.id)), control.className) << spec.id;
    EXPECT_EQ(Style(spec.id) & control.style, control.style) << spec.id;
    RECT at;
    GetWindowRect(Child(spec.id), &at);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&at), 2);
    EXPECT_EQ(at.left, spec.rect.left);
    EXPECT_EQ(at.top, spec.rect.top);
  }
  EXPECT_EQ(Style(3) & WS_GROUP, 0);
  EXPECT_EQ(SendMessageW(Child(4), EM_GETLIMITTEXT, 0, 0), 5);

  window->SetChecked(3, true);
  window->SetChecked(2, true);  // one group: the other goes out
  EXPECT_FALSE(window->Checked(3));
  window->DestroyControl(2);
  EXPECT_EQ(Child(2), nullptr);
}

// A group box keeps its frame and caption: inside, the window's picture and clicks.
TEST_F(Win32HostTest, GroupBoxLeavesItsInsideToTheWindow) {
  window->CreateControl(Control(1, ControlKind::GroupBox, "Messages", 150, 40, 260, 120, kFrameOnly));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(Child(1), region), ERROR);
  EXPECT_TRUE(PtInRegion(region, 10, 4));    // the caption
  EXPECT_TRUE(PtInRegion(region, 0, 60));    // the left edge
  EXPECT_FALSE(PtInRegion(region, 130, 60));  // inside
  DeleteObject(region);
}

TEST_F(Win32HostTest, TheUsersActionsReachTheLayerAndItsOwnChangesDoNot) {
  window->CreateControl(Control(1, ControlKind::Button, "Apply", 640, 500, 80, 30));
  window->CreateControl(Control(2, ControlKind::ScrollBar, "", 774, 104, 18, 443));
  window->CreateControl(Control(3, ControlKind::Edit, "", 10, 10, 60, 20));
  window->CreateControl(Control(4, ControlKind::Trackbar, "", 635, 99, 150, 22));
  window->SetRange(2, 0, 100, 26);
  window->SetRange(4, 0, 100, 10);
  window->SetText(3, "80");
  window->SetValue(4, 50);
  EXPECT_TRUE(events.controls.empty());

  window->SelectText(3, 2, 2);
  SendMessageW(Child(1), BM_CLICK, 0, 0);
  SendMessageW(Handle(), WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(Child(2)));
  SendMessageW(Child(3), WM_CHAR, '5', 0);
  SendMessageW(Child(4), WM_KEYDOWN, VK_RIGHT, 0);
  ASSERT_EQ(events.controls.size(), 4u);
  EXPECT_EQ(events.controls[0].id, 1);
  EXPECT_EQ(events.controls[0].action, ControlAction::Clicked);
  EXPECT_EQ(events.controls[1].scroll, ScrollRequest::LineDown);
  EXPECT_EQ(window->Value(2), 0);  // the layer moves the bar
  EXPECT_EQ(events.controls[2].action, ControlAction::Edited);
  EXPECT_EQ(window->Text(3), "805");
  EXPECT_EQ(events.controls[3].action, ControlAction::Changed);
  EXPECT_EQ(events.controls[3].value, 51);

  // A key goes to the layer first; the window keeps what the layer refuses.
  window->Focus(0, false);
  PostMessageW(Handle(), WM_KEYDOWN, VK_TAB, 0);
  host.RunPending();
  ASSERT_EQ(events.keys.size(), 1u);
  EXPECT_EQ(events.keys[0].key, Key::Tab);
  EXPECT_EQ(events.keys[0].control, 0);

  SendMessageW(Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowVisible(Handle()));  // the layer keeps it
  events.allowClose = true;
  SendMessageW(Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindowVisible(Handle()));
  EXPECT_EQ(events.closeRequests, 2);
}

TEST_F(Win32HostTest, WorkPostedFromAnotherThreadRunsOnTheWindowsThread) {
  bool ranHere = false;
  std::thread([&] { host.Post([&] { ranHere = host.OnUserThread(); }); }).join();
  host.RunPending();
  EXPECT_TRUE(ranHere);
}

TEST_F(Win32HostTest, DialogPageInDialogUnitsAndTheCloseBoxAsksTheLayer) {
  Recorder dialogEvents;
  dialogEvents.allowClose = true;
  DialogSpec spec{"Preferences", 385, 201, {}};
  ControlSpec tabs = Control(1051, ControlKind::Tab, "", 6, 6, 373, 170);
  tabs.items = {"General Setup", "ADC Channels"};
  spec.controls = {tabs, Control(1, ControlKind::Button, "OK", 212, 181, 50, 14, kDefault)};
  RECT edit{}, expected{80, 28, 110, 40};
  POINT page{};
  int tabCount = 0;
  host.RunDialog(spec, dialogEvents, [&](WindowHost& dialog) {
    dialog.ShowPage(1051, Point{14, 34}, Point{6, 28}, {Control(1013, ControlKind::Edit, "80", 80, 28, 30, 12)});
    const HWND handle = static_cast<Win32Window&>(dialog).Handle();
    tabCount = static_cast<int>(SendMessageW(GetDlgItem(handle, 1051), TCM_GETITEMCOUNT, 0, 0));
    const HWND pageHandle = FindWindowExW(handle, nullptr, L"#32770", nullptr);  // the page: a child dialog
    ASSERT_NE(pageHandle, nullptr);
    GetWindowRect(GetDlgItem(pageHandle, 1013), &edit);
    MapWindowPoints(nullptr, pageHandle, reinterpret_cast<POINT*>(&edit), 2);
    MapDialogRect(pageHandle, &expected);
    MapWindowPoints(pageHandle, handle, &page, 1);
    PostMessageW(handle, WM_CLOSE, 0, 0);
  }, window.get());
  EXPECT_EQ(tabCount, 2);
  EXPECT_EQ(edit.left, expected.left);
  EXPECT_EQ(edit.bottom, expected.bottom);
  EXPECT_EQ(page.x, 14);
  EXPECT_EQ(page.y, 34);
  EXPECT_EQ(dialogEvents.closeRequests, 1);
}

// The chooser's own dialog: its name field filled in and taken, as the user does.
struct ChooserAnswer {
  std::wstring title, name;
  bool found = false;
};
ChooserAnswer* answer = nullptr;

BOOL CALLBACK AnswerChooser(HWND hwnd, LPARAM) {
  wchar_t title[128] = {};
  GetWindowTextW(hwnd, title, 128);
  if (!IsWindowVisible(hwnd) || answer->title != title) return TRUE;
  answer->found = true;
  for (int field : {cmb13, edt1}) SetDlgItemTextW(hwnd, field, answer->name.c_str());
  PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDOK)));
  return FALSE;
}

void CALLBACK LookForChooser(HWND, UINT, UINT_PTR timer, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), AnswerChooser, 0);
  if (answer->found) KillTimer(nullptr, timer);
}

TEST_F(Win32HostTest, ChooserIsAnswered) {
  vantor::test::TempDir dir;
  std::ofstream(dir.File("drive.dat")) << "x";
  ChooserAnswer chosen{L"Select File to Playback", L"drive.dat"};
  answer = &chosen;
  SetTimer(nullptr, 0, 50, LookForChooser);
  const FileChooserSpec spec{"Select File to Playback", dir.Path(), "", {{"DataLogs (*.dat)", "*.dat"}, {"All (*.*)", "*.*"}},
                             "dat", false};
  const auto path = host.ChooseFile(spec, window.get());
  answer = nullptr;
  ASSERT_TRUE(path.has_value());
  EXPECT_TRUE(std::filesystem::equivalent(*path, dir.File("drive.dat"))) << *path;
  EXPECT_FALSE(host.ModalOpen());
}

}  // namespace
}  // namespace vantor::ui
