#include "ui/window/flash_window.h"

#include "cal/bank_jobs.h"
#include "ui/window/program_parts.h"
#include "ui/window/window_controls.h"

namespace vantor::ui {
namespace {

using namespace control_style;

constexpr int kFirstGroup = 300;
constexpr int kProgramGroup = 302, kReadGroup = 303;
constexpr Rect kPaneArea{330, 321, 721, 458};

// Light texts, grey when disabled.
ControlColours FormColours() { return ControlColours{colour::kText, {}, false, Rgb{130, 130, 130}}; }

bool IsFocusKey(Key key) { return key == Key::Tab || key == Key::Enter || key == Key::Escape; }

}  // namespace

// The pane's lines live as long as the program: a new job clears them.
MessagePane& FlashProgramPane() {
  static MessagePane pane(FlashPaneStyle());
  return pane;
}

FlashWindow::FlashWindow(ProgramParts& parts, Host& host, WindowHost& window, DrawSurface& surface,
                         std::function<void()> close)
    : parts_(parts),
      settings_(parts.settings),
      host_(host),
      window_(window),
      surface_(surface),
      close_(std::move(close)),
      pane_(FlashProgramPane()),
      body_(settings_, pane_),
      previousSource_(parts.session.Sources().Select(ByteSourceId::None)),
      previousPaused_(parts.recorder.SetWriterPaused(true)) {
  pane_.SetChangeHook([this] { DrawPane(); });
  CreateControls();
  ShowAction();
  surface_.InvalidateAll();
  parts_.link.Tick().Reset();
  parts_.link.Tick().Start();
  FocusBank();
}

FlashWindow::~FlashWindow() {
  pane_.SetChangeHook(nullptr);
  for (int id : controls_) window_.DestroyControl(id);
  parts_.link.Tick().Stop();
  parts_.session.Sources().Select(previousSource_);
  parts_.recorder.SetWriterPaused(previousPaused_);
}

void FlashWindow::CreateControls() {
  struct Group {
    const char* title;
    int x, y, width, height;
  };
  constexpr Group kGroups[] = {{"Flash Bank", 100, 60, 420, 50},        {"Action", 100, 140, 170, 92},
                               {"Program File Name", 330, 140, 390, 42}, {"Read File Name", 330, 192, 390, 42},
                               {"Options", 100, 304, 170, 92},          {"Messages", 330, 304, 394, 161}};
  std::vector<ControlSpec> specs;
  for (int i = 0; i < 6; ++i) {
    const Group& g = kGroups[i];
    specs.push_back(Control(kFirstGroup + i, ControlKind::GroupBox, g.title, g.x, g.y, g.width, g.height));
    specs.back().colours = FormColours();
  }
  auto add = [&](ControlSpec spec) {
    if (spec.kind != ControlKind::Button) {
      spec.style |= kTextLeft;
      spec.colours = FormColours();
    }
    tabOrder_.push_back(spec.id);
    specs.push_back(std::move(spec));
  };
  for (int bank = 0; bank < 8; ++bank)
    add(Control(kFirstBank + bank, ControlKind::RadioButton, std::to_string(bank), 120 + 50 * bank, 80, 30, 20,
                bank == 0 ? kGroupStart : 0u));
  add(Control(kProgramBank, ControlKind::RadioButton, "Program Bank", 120, 170, 130, 20, kGroupStart));
  add(Control(kReadBank, ControlKind::RadioButton, "Read Bank", 120, 200, 130, 20));
  add(Control(kSelectBin, ControlKind::Button, "Select BIN", 330, 242, 80, 30));
  add(Control(kVerify, ControlKind::CheckBox, "Verify", 120, 334, 130, 20));
  add(Control(kSetBankActive, ControlKind::CheckBox, "Set Bank Active", 120, 364, 130, 20));
  add(Control(kClose, ControlKind::Button, "Close", 540, 500, 80, 30));
  add(Control(kApply, ControlKind::Button, "Apply", 640, 500, 80, 30));
  for (const ControlSpec& spec : specs) {
    window_.CreateControl(spec);
    controls_.push_back(spec.id);
  }
  const Settings& settings = settings_;
  if (settings.flshBank >= 0 && settings.flshBank < 8) window_.SetChecked(kFirstBank + settings.flshBank, true);
  window_.SetChecked(kProgramBank, settings.flshAction == kFlashProgram);
  window_.SetChecked(kReadBank, settings.flshAction == kFlashRead);
  window_.SetChecked(kVerify, settings.flshVerify == 1);
  window_.SetChecked(kSetBankActive, settings.flshSetBank == 1);
}

bool FlashWindow::Owns(int id) const {
  for (int control : controls_)
    if (control == id) return true;
  return false;
}

// ---- clicks ----

bool FlashWindow::OnControl(const ControlEvent& event) {
  if (!Owns(event.id)) return false;
  if (event.action != ControlAction::Clicked) return true;
  Settings& settings = settings_;
  for (int bank = 0; bank < 8; ++bank)
    if (window_.Checked(kFirstBank + bank)) settings.flshBank = static_cast<std::int16_t>(bank);
  switch (event.id) {
    case kProgramBank:
    case kReadBank:
      settings.flshAction = static_cast<std::int16_t>(event.id == kReadBank ? kFlashRead : kFlashProgram);
      ShowAction();
      break;
    case kVerify: settings.flshVerify = event.value ? 1 : 0; break;
    case kSetBankActive: settings.flshSetBank = event.value ? 1 : 0; break;
    case kSelectBin:
      if (settings.flshAction == kFlashRead)
        ChooseReadFile();
      else
        ChooseProgramFile();
      window_.Focus(kSelectBin, false);
      break;
    case kClose: host_.Post(close_); break;  // after this click: the selection destroys the window
    case kApply: Apply(); break;
    default: break;
  }
  return true;
}

void FlashWindow::ShowAction() {
  const bool reading = settings_.flshAction == kFlashRead;
  window_.SetEnabled(kVerify, !reading);
  window_.SetEnabled(kProgramGroup, !reading);
  window_.SetEnabled(kReadGroup, reading);
  DrawScope scope(surface_);
  DrawFlashFileNames(scope.canvas(), settings_);
}

void FlashWindow::Message(const std::string& text, const std::string& caption) {
  host_.ShowMessage(MessageSpec{text, caption, BoxIcon::Information, BoxButtons::Ok}, &window_);
}

void FlashWindow::Apply() {
  const Settings& settings = settings_;
  FlashJob job;
  job.bank = {settings.flshBank, settings.flshSetBank == 1, settings.flshVerify == 1};
  job.action = settings.flshAction;
  job.programFile = settings.flshBin;
  job.readFile = settings.readBin;
  job.readDirectory = settings.readBinPath;
  RunFlashJob(parts_.link, pane_, job, [this](const std::string& text, const std::string& caption) { Message(text, caption); });
  FocusBank();
}

void FlashWindow::FocusBank() {
  if (settings_.flshBank >= 0 && settings_.flshBank < 8) window_.Focus(kFirstBank + settings_.flshBank, false);
}

// The job runs on this thread: each line is drawn and shown at once.
void FlashWindow::DrawPane() {
  {
    DrawScope scope(surface_);
    body_.PaintPane(scope.canvas());
  }
  if (host_.OnUserThread()) window_.PresentNow(kPaneArea);
}

// ---- keys ----

// TAB, ENTER and ESC move the focus (backwards while SHIFT is held); their
// releases are swallowed too.
bool FlashWindow::OnKey(const KeyEvent& key) {
  if (!Owns(key.control)) return false;
  if (key.key == Key::Shift) {
    shiftHeld_ = key.press;
    return false;
  }
  if (!IsFocusKey(key.key)) return false;
  if (key.press) MoveFocus(shiftHeld_ || key.shift);
  return true;
}

void FlashWindow::MoveFocus(bool backwards) {
  const int count = static_cast<int>(tabOrder_.size());
  const int focused = window_.FocusedControl();
  int at = 0;
  for (int i = 0; i < count; ++i)
    if (tabOrder_[static_cast<std::size_t>(i)] == focused) at = i;
  for (int step = 1; step <= count; ++step) {
    const int next = tabOrder_[static_cast<std::size_t>((at + (backwards ? count - step : step)) % count)];
    if (next != kVerify || settings_.flshAction != kFlashRead) {
      window_.Focus(next, true);
      return;
    }
  }
}

}  // namespace vantor::ui
