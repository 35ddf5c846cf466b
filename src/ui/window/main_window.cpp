#include "ui/window/main_window.h"

#include <chrono>
#include <filesystem>

#include "link/commands.h"
#include "platform/serial_device.h"
#include "ui/draw/menu_commands.h"
#include "ui/window/analysis_window.h"
#include "ui/window/display_controls.h"
#include "ui/window/file_filters.h"
#include "ui/window/flash_window.h"
#include "ui/window/info_boxes.h"
#include "ui/window/learn_ve_flow.h"
#include "ui/window/playback_controls.h"
#include "ui/window/tool_windows.h"
#include "ui/window/window_controls.h"

namespace vantor::ui {
namespace {

constexpr auto kSuspendBound = std::chrono::milliseconds(500);

std::vector<int> FixedPortCommands() {
  const auto& ids = ComPortCommands();
  return {ids.begin(), ids.end()};
}

}  // namespace

MainWindow::MainWindow(ProgramParts& parts, Host& host)
    : parts_(parts),
      host_(host),
      surface_(host, 800, 600),
      portMenu_(kCommPortMenu, "&CommPort", FixedPortCommands(), [] { return SerialPortsPresent(); }),
      liveView_(parts.session.Live(), parts.session.Adc(), [this] { return CurrentState(); }),
      panel_(liveView_, spinner_, [this](const std::string& text, const std::string& caption) {
        host_.Post([this, text, caption] { ShowMessage(text, caption); });
      }),
      alert_(host) {
  window_ = host_.CreateWindow(WindowSpec{"Vantor", 800, 600, WindowKind::Main, {}}, *this, &surface_, nullptr);
  surface_.Attach(window_.get());
  menu_ = MenuModel(MenuBar());
  menu_.Attach(window_.get(), {});
  {
    std::lock_guard<std::mutex> lock(namesMutex_);
    portName_ = parts_.settings.port;
  }
  playbackControls_ = std::make_unique<PlaybackControls>(*window_, parts_.playback, parts_.settings);
  gauges_ = std::make_unique<GaugeDisplay>(parts_.settings, liveView_, panel_, surface_);
  painter_ = std::make_unique<DisplayPainter>(liveView_, panel_, *gauges_);
  surface_.SetPainter([this](Canvas& canvas) { painter_->Paint(canvas, Mode()); });
  parts_.session.Loop().SetConsumer(ConsumerSlot::Gauges, gauges_.get());
  BuildDisplays();
  analysis_ = std::make_unique<AnalysisWindow>(AnalysisParts{
      parts_.settings, parts_.session.Sources(), std::filesystem::path(parts_.configPath).parent_path().string(),
      host_, *window_, surface_, [this](const std::string& text, const std::string& caption) { ShowMessage(text, caption); },
      [this](const std::string& title, const std::string& directory, const std::string& name) {
        return ChooseLog(title, directory, name, "", false);
      }});
  painter_->SetBody(DisplayMode::Analysis, &analysis_->Body());
  InstallHooks();
  PlaceWindow(*window_, host_, parts_.settings.xPosHwnd, parts_.settings.yPosHwnd);
}

// The threads draw into this window's surface: they end before it goes.
MainWindow::~MainWindow() {
  parts_.playback.StopPlayback();
  parts_.recorder.StopDataLog();
  parts_.session.Stop();
  parts_.session.Loop().SetConsumer(ConsumerSlot::Gauges, nullptr);
  parts_.session.Loop().SetConsumer(ConsumerSlot::VeLearn, nullptr);
  parts_.hooks = WindowHooks{};
  surface_.Attach(nullptr);
}


void MainWindow::Start() {
  surface_.RepaintAll();
  parts_.StartThreads();
  Command(cmd::kVantor);
  window_->Focus(0, false);
}

void MainWindow::Command(int id) {
  if (auto port = portMenu_.PortOf(id)) {
    ChoosePort(*port);
    return;
  }
  if (DisplayOfCommand(id)) {
    SelectDisplay(*this, parts_.settings, id);
    TakeKeyboard();
    return;
  }
  switch (id) {
    case cmd::kAbout: ShowAbout(); break;
    case cmd::kHelp: ShowHelp(); break;
    case cmd::kExit: window_->Close(); break;
    case cmd::kDataLog: StartDataLog(); break;
    case cmd::kCloseDataLog: parts_.recorder.StopDataLog(); break;
    case cmd::kPlayback: StartPlayback(); break;
    case cmd::kStopPlayback: StopPlaybackCommand(); break;
    case kExportForViewer: ExportLogForViewer(); break;
    case cmd::kLearnVe:
      if (Mode() == DisplayMode::Analysis || Mode() == DisplayMode::Flash) Command(cmd::kVantor);
      learnFlow_->Start();
      break;
    case cmd::kStopLearnVe: learnFlow_->Stop(); break;
    case cmd::kMalfCodes: OpenMalfCodes(); break;
    case cmd::kBankSelect: OpenBankSelect(); break;
    case cmd::kPreferences: OpenPreferences(); break;
    case cmd::kUserDevices: OpenUserDevices(); break;
    default: break;
  }
}

void MainWindow::OnMenuOpening(int menu) {
  if (menu == portMenu_.MenuId()) portMenu_.Refresh(menu_, parts_.settings.port);
}

// ---- hooks from the parts (any thread) ----

void MainWindow::OnUserThread(std::function<void()> work) {
  if (host_.OnUserThread())
    work();
  else
    host_.Post(std::move(work));
}

void MainWindow::InstallHooks() {
  WindowHooks& hooks = parts_.hooks;
  hooks.onUserThread = [this](std::function<void()> work) { OnUserThread(std::move(work)); };
  hooks.showMessage = [this](const std::string& text, const std::string& caption) {
    host_.Post([this, text, caption] { ShowMessage(text, caption); });
  };
  hooks.loggingChanged = [this](bool logging) {
    OnUserThread([this, logging] {
      {
        std::lock_guard<std::mutex> lock(namesMutex_);
        logName_ = parts_.settings.dlogName;
      }
      menu_.SetEnabled(cmd::kDataLog, !logging && !parts_.playback.Playing());
      menu_.SetEnabled(cmd::kCloseDataLog, logging);
      InvalidateAll();
    });
  };
  hooks.playingChanged = [this](bool playing) {
    OnUserThread([this, playing] {
      {
        std::lock_guard<std::mutex> lock(namesMutex_);
        playName_ = parts_.settings.playName;
      }
      menu_.SetEnabled(cmd::kDataLog, !playing && !parts_.recorder.Logging());
      menu_.SetEnabled(cmd::kPlayback, !playing);
      menu_.SetEnabled(cmd::kStopPlayback, playing);
      InvalidateAll();
    });
  };
  hooks.progressCreate = [this](int maximum) {
    OnUserThread([this, maximum] {
      if (progress_) window_->DestroyControl(kProgress);
      window_->CreateControl(ControlSpec{kProgress, ControlKind::ProgressBar, "", Rect{612, 17, 785, 26}, 0, 0, {}, {}});
      window_->SetRange(kProgress, 0, maximum, 1);
      window_->SetValue(kProgress, 0);
      progress_ = true;
    });
  };
  hooks.progressStep = [this] {
    OnUserThread([this] {
      if (progress_) window_->SetValue(kProgress, window_->Value(kProgress) + 1);
    });
  };
  hooks.progressRemove = [this] {
    OnUserThread([this] {
      if (progress_) window_->DestroyControl(kProgress);
      progress_ = false;
    });
  };
  hooks.playbackEnd = [this] { surface_.InvalidateAll(); };
  hooks.activityStep = [this] {
    if (!IsLiveDisplay(Mode()) || parts_.playback.Playing() || !spinner_.CountFrame()) return;
    DrawScope scope(surface_);  // only for the frames that turn the spinner
    spinner_.Step(scope.canvas());
  };
  hooks.portChanged = [this](bool open) {
    if (!IsLiveDisplay(Mode())) return;
    std::string name;
    {
      std::lock_guard<std::mutex> lock(namesMutex_);
      name = portName_;
    }
    DrawScope scope(surface_);
    StatusPanel::DrawPortChange(scope.canvas(), name, open);
  };
}

ProgramState MainWindow::CurrentState() const {
  ProgramState state;
  {
    std::lock_guard<std::mutex> lock(namesMutex_);
    state.portName = portName_;
    state.logName = logName_;
    state.playName = playName_;
  }
  state.portOpen = parts_.link.PortIsOpen();
  state.logging = parts_.recorder.Logging();
  state.logPaused = parts_.recorder.PausedShown();
  state.playing = parts_.playback.Playing();
  state.playAtEnd = parts_.playback.AtEnd();
  state.learning = parts_.veLearn.Active();
  state.learnInput = parts_.settings.lrnInp;
  return state;
}

// ---- events ----

void MainWindow::OnControl(const ControlEvent& event) {
  if (analysis_->OnControl(event)) return;
  if (flash_ && flash_->OnControl(event)) return;
  if (playbackControls_->Owns(event.id)) {
    playbackControls_->Handle(event);
    return;
  }
  displayControls_->Handle(event);
}

// The Analysis and Flash controls keep their keys; every other control
// passes the window's keys on, so that they work while it has the focus.
bool MainWindow::OnKey(const KeyEvent& key) {
  if (key.control != 0 && Mode() == DisplayMode::Analysis && analysis_->IsOpen()) return analysis_->OnKey(key);
  if (flash_ && flash_->Owns(key.control)) return flash_->OnKey(key);
  return key.press && HandleKey(key);
}

bool MainWindow::HandleKey(const KeyEvent& key) {
  if (key.text == '?' || key.text == '/') {
    ShowAbout();
    return true;
  }
  if (Mode() == DisplayMode::Analysis && analysis_->OnKey(key)) return true;
  if (Mode() == DisplayMode::Analysis || Mode() == DisplayMode::Flash) return false;
  if (auto command = QuickKeyCommand(key.text)) {
    Command(*command);
    return true;
  }
  if (!parts_.recorder.Logging()) return false;
  switch (key.key) {
    case Key::Tab: parts_.recorder.RequestMark(); break;
    case Key::Space: parts_.recorder.RequestTimeStamp(); break;
    case Key::Enter:
      if (parts_.settings.enterPause != 1 || !parts_.recorder.PauseFromKey()) return true;
      break;
    default: return false;
  }
  DrawLoggingState();
  return true;
}

// Mouse movement over the window gives it the keys when another window of
// the program has them (not in Analysis or Flash); Analysis takes the table's mouse.
void MainWindow::OnMouse(const MouseEvent& mouse) {
  if (Mode() == DisplayMode::Analysis) analysis_->OnMouse(mouse);
  if (mouse.action != MouseAction::Move) return;
  if (Mode() != DisplayMode::Analysis && Mode() != DisplayMode::Flash && window_->FocusedControl() != 0 &&
      (window_->Active() || tools_->AnyActive()))
    window_->Focus(0, false);
}

void MainWindow::DrawLoggingState() {
  if (!IsLiveDisplay(Mode())) return;
  const ProgramState state = CurrentState();
  DrawScope scope(surface_);
  panel_.DrawLoggingState(scope.canvas(), state);
}

// ---- data log and playback ----

std::string MainWindow::ChooseLog(const std::string& title, const std::string& directory, const std::string& name,
                                  const std::string& suffix, bool save) {
  fileDialogOpen_ = true;
  const auto path =
      host_.ChooseFile(FileChooserSpec{title, directory, name, TypeAndAll(kDataLogFilter), suffix, save}, window_.get());
  fileDialogOpen_ = false;
  return path.value_or(std::string());
}

void MainWindow::StartDataLog() {
  if (Mode() == DisplayMode::Analysis || Mode() == DisplayMode::Flash) Command(cmd::kVantor);
  if (parts_.recorder.Logging()) return;
  // An existing log is added to, so nothing is asked.
  const std::string path = ChooseLog("Select/Create File to Save Data Log to", parts_.settings.dlogPath,
                                     parts_.settings.dlogName, "dat", true);
  if (!path.empty()) parts_.recorder.StartDataLog(path);
}

void MainWindow::StartPlayback() {
  if (Mode() == DisplayMode::Analysis || Mode() == DisplayMode::Flash) Command(cmd::kVantor);
  if (parts_.playback.Playing()) return;
  const std::string path =
      ChooseLog("Select File to Playback", parts_.settings.playPath, parts_.settings.playName, "dat", false);
  if (path.empty()) return;
  parts_.playback.StartPlayback(path);
  CreatePlaybackControls();
  if (parts_.playback.Playing()) {
    displays_->Trip().ResetSampling();
    parts_.link.ReleasePort();
    CloseBankSelect();
  }
}

void MainWindow::StopPlaybackCommand() {
  parts_.playback.StopPlayback();
  RemovePlaybackControls();
  displays_->Trip().ResetSampling();
  if (!PortIsOpen()) SelectPort();
  if (parts_.settings.actvFbnk == 1 && !BankSelectOpen()) OpenBankSelect();
}

// A switch may have destroyed the control that had the focus: the keys
// (quick selections, mark, stamp) go to the window again, unless a playback
// control took the focus (those pass the keys on).
void MainWindow::TakeKeyboard() {
  if (!IsLiveDisplay(Mode()) || playbackControls_->Owns(window_->FocusedControl())) return;
  window_->Focus(0, false);
}

// A click on a display's own control: the whole window is drawn again and
// the keys stay the window's.
void MainWindow::RepaintWithKeyboard() {
  InvalidateAll();
  window_->Focus(0, false);
}

void MainWindow::CreatePlaybackControls() { playbackControls_->Create(Mode() == DisplayMode::Gauges); }

// On the gauge display the "Playback Rate" caption goes with them (repaint).
void MainWindow::RemovePlaybackControls() {
  if (!playbackControls_->Remove()) return;
  window_->Focus(0, false);
  InvalidateAll();
}

// ---- ports ----

void MainWindow::ChoosePort(const std::string& name) {
  parts_.settings.port = name;
  {
    std::lock_guard<std::mutex> lock(namesMutex_);
    portName_ = name;
  }
  SelectPort();
}

// ---- WindowActions ----

DisplayMode MainWindow::Mode() const { return parts_.state.Mode(); }

void MainWindow::EnableDisplayItems() {
  for (const MenuItemText& item : DisplayMenuItems()) {
    menu_.SetText(item.id, item.text);
    menu_.SetEnabled(item.id, true);
  }
}

void MainWindow::GrayItem(int command) { menu_.SetEnabled(command, false); }
void MainWindow::Suspend() { parts_.session.Display().Suspend(kSuspendBound); }
void MainWindow::Resume() { parts_.session.Display().Resume(); }
void MainWindow::SetMode(DisplayMode mode) { parts_.state.SetMode(mode); }

void MainWindow::TearDown(Controls controls) {
  if (controls == Controls::Playback) RemovePlaybackControls();
  displayControls_->Remove(controls);
  if (controls == Controls::Flash) RemoveFlashWindow();
  if (controls == Controls::Analysis) analysis_->Close();
}

void MainWindow::Create(Controls controls) {
  if (controls == Controls::Playback) CreatePlaybackControls();
  displayControls_->Create(controls);
  if (controls == Controls::Flash) CreateFlashWindow();
  if (controls == Controls::Analysis) analysis_->Open();
}

void MainWindow::InvalidateAll() { surface_.RepaintAll(); }
bool MainWindow::BankSelectOpen() const { return tools_->BankOpen(); }
bool MainWindow::MalfCodesOpen() const { return tools_->MalfOpen(); }
void MainWindow::OpenBankSelect() { tools_->OpenBank(); }
void MainWindow::OpenMalfCodes() { tools_->OpenMalf(); }
void MainWindow::CloseBankSelect() { tools_->CloseBank(); }
void MainWindow::CloseMalfCodes() { tools_->CloseMalf(); }
bool MainWindow::Playing() const { return parts_.playback.Playing(); }
bool MainWindow::PortIsOpen() const { return parts_.link.PortHeld(); }

void MainWindow::SelectPort() {
  // An over-long [PORT] is refused rather than cut to the device name's size.
  if (!PortNameFits(parts_.settings.port)) {
    ShowMessage("Port name too long: " + parts_.settings.port, "CommPort");
    return;
  }
  if (IsLiveDisplay(Mode())) {
    DrawScope scope(surface_);
    StatusPanel::DrawPortState(scope.canvas(), parts_.settings.port, false);
  }
  parts_.link.SelectPort(parts_.settings.port);
}

void MainWindow::ReleasePort() { parts_.link.ReleasePort(); }
void MainWindow::RequestRxReset() { parts_.link.RequestRxReset(); }
void MainWindow::StopStream() { TxMsXmit(parts_.link, 0); }
void MainWindow::StopDataLog() { parts_.recorder.StopDataLog(); }
void MainWindow::StopLearn() { learnFlow_->Stop(); }

void MainWindow::StopPlayback() {
  parts_.playback.StopPlayback();
  RemovePlaybackControls();
}

// ---- exit ----

bool MainWindow::OnCloseRequest() {
  if (!exited_) {
    exited_ = true;
    tools_->CapturePositions();
    RunExitSequence(*this);
    tools_->CloseMalf();  // the floating windows go with the program (their open state is kept)
    tools_->CloseBank();
  }
  return true;
}

bool MainWindow::Minimised() const { return window_->Minimised(); }

void MainWindow::StoreWindowPosition() {
  const Point at = window_->Position();
  parts_.settings.xPosHwnd = at.x;
  parts_.settings.yPosHwnd = at.y;
}

void MainWindow::WriteSettings() { parts_.WriteSettings(); }
void MainWindow::CloseDataLog() { parts_.recorder.StopDataLog(); }
void MainWindow::FinishLearn() { learnFlow_->FinishAtExit(); }
void MainWindow::ClosePort() { parts_.link.RequestPort(PortClose, nullptr); }

// ---- boxes ----

void MainWindow::ShowMessage(const std::string& text, const std::string& caption) {
  host_.ShowMessage(MessageSpec{text, caption, BoxIcon::Information, BoxButtons::Ok}, window_.get());
}

void MainWindow::ShowAbout() { host_.ShowTextBox(AboutBox(), window_.get()); }
void MainWindow::ShowHelp() { host_.ShowTextBox(HelpBox(), window_.get()); }

}  // namespace vantor::ui
