#include "ui/window/update_window.h"

#include "logs/remembered_path.h"
#include "platform/serial_device.h"
#include "ui/draw/menu_commands.h"
#include "ui/draw/update_window_painter.h"
#include "ui/window/file_filters.h"
#include "ui/window/info_boxes.h"
#include "ui/window/window_controls.h"
#include "update/single_bin_update.h"

namespace vantor::ui {
namespace {

constexpr Rgb kFace{220, 220, 220};
constexpr Rgb kFaceText{20, 20, 20};
constexpr int kFileMenu = 40010, kHelpMenu = 40011;

}  // namespace

UpdateWindow::UpdateWindow(UpdateProgram& program, Host& host)
    : program_(program),
      host_(host),
      surface_(host, 800, 600),
      portMenu_(kPortMenu, "CommPort", std::vector<int>(ComPortCommands().begin(), ComPortCommands().end()),
                [devices = program.options.deviceDirectory] { return SerialPortsPresent(devices); }) {
  window_ = host_.CreateWindow(
      WindowSpec{"ORV_KDM9Update", 800, 600, WindowKind::Main, ControlColours{kFaceText, kFace, false, {}}}, *this,
      &surface_, nullptr);
  surface_.Attach(window_.get());
  menu_ = MenuModel({Submenu(kFileMenu, "&File",
                             {portMenu_.Menu(program_.settings.port), Item(kBinUpdate, "&BIN Update..."),
                              Item(kExit, "E&xit")}),
                     Submenu(kHelpMenu, "&Help", {Item(kAbout, "&About ...")})});
  menu_.Attach(window_.get(), {Accelerator{'?', true, kAbout}, Accelerator{'/', true, kAbout}});
  portName_ = program_.settings.port;

  window_->CreateControl(Control(kProceed, ControlKind::Button, "Proceed With Update", 300, 480, 200, 40));
  window_->CreateControl(
      Control(kMessages, ControlKind::GroupBox, "Messages", 30, 110, 730, 365, control_style::kFrameOnly | control_style::kHidden));

  surface_.SetPainter([this](Canvas& canvas) {
    PaintUpdateWindow(canvas, program_.session.Pane(), UpdateFace{PaneShown(), PortName(), program_.session.Link().PortIsOpen()});
  });
  InstallHooks();
  PlaceWindow(*window_, host_, program_.settings.xPosHwnd, program_.settings.yPosHwnd);
  surface_.RepaintAll();
  window_->Focus(kProceed, false);
}

UpdateWindow::~UpdateWindow() {
  program_.session.Stop();
  program_.session.Pane().SetChangeHook({});
  program_.session.Link().SetStatusHook({});
  surface_.Attach(nullptr);
}

// The flash thread draws the pane as lines arrive; the communication thread
// draws the port status as the port opens and closes. Both go through the
// surface's lock, and the pane is read under its own lock.
void UpdateWindow::InstallHooks() {
  program_.session.Pane().SetChangeHook([this] {
    if (!PaneShown()) return;
    DrawScope scope(surface_);
    DrawUpdatePane(scope.canvas(), program_.session.Pane());
  });
  program_.session.Link().SetStatusHook([this](bool open) {
    DrawScope scope(surface_);
    DrawUpdatePortStatus(scope.canvas(), PortName(), open);
  });
}


void UpdateWindow::ShowBox(const std::string& text, const std::string& caption, BoxIcon icon) {
  host_.ShowMessage(MessageSpec{text, caption, icon, BoxButtons::Ok}, window_.get());
}

bool UpdateWindow::Start() {
  EcmLink& link = program_.session.Link();
  if (!link.PortIsOpen()) {
    if (PortNameFits(program_.settings.port)) {
      link.SelectPort(program_.settings.port);  // writes the configuration
    } else {
      ShowBox("Port name too long: " + program_.settings.port, "CommPort", BoxIcon::Information);
      program_.WriteSettings();
    }
  }
  link.RequestRxReset();
  if (!program_.session.Start()) {
    ShowBox("CreateThread failed", "comm", BoxIcon::Information);
    return false;
  }
  return true;
}

void UpdateWindow::OnCommand(int id) {
  if (auto port = portMenu_.PortOf(id)) {
    ChoosePort(*port);
    return;
  }
  switch (id) {
    case kBinUpdate: UpdateBinFile(); break;
    case kExit: window_->Close(); break;
    case kAbout: host_.ShowTextBox(UpdateAboutBox(), window_.get()); break;
    default: break;
  }
}

void UpdateWindow::OnMenuOpening(int menu) {
  if (menu == portMenu_.MenuId()) portMenu_.Refresh(menu_, program_.settings.port);
}

void UpdateWindow::OnControl(const ControlEvent& event) {
  if (event.id == kProceed && event.action == ControlAction::Clicked) ProceedWithUpdate();
}

// The controls are disabled here, on the user-interface thread, before the
// flash thread exists: a second click cannot start a second run.
void UpdateWindow::ProceedWithUpdate() {
  if (running_ || program_.session.Running()) return;
  SetRunning(true);
  paneShown_ = true;
  window_->Focus(0, false);
  program_.session.Pane().Clear();
  window_->SetShown(kMessages, true);
  surface_.RepaintAll();
  const bool started = program_.session.StartRun(program_.RunSetup(), [this](int result) {
    host_.Post([this, result] { RunFinished(result); });
  });
  if (!started) {
    ShowBox("CreateThread failed", "flash", BoxIcon::Information);
    SetRunning(false);
  }
}

void UpdateWindow::RunFinished(int result) {
  if (result != 0) ShowBox("", "-ORV Update Error-", BoxIcon::Error);
  SetRunning(false);
}

// A port change or an exit in the middle of an erase would leave the module
// without a program.
void UpdateWindow::SetRunning(bool running) {
  running_ = running;
  window_->SetEnabled(kProceed, !running);
  for (int id : {kPortMenu, kBinUpdate, kExit}) menu_.SetEnabled(id, !running);
}

void UpdateWindow::ChoosePort(const std::string& name) {
  if (program_.session.Running()) return;
  if (!PortNameFits(name)) {
    ShowBox("Port name too long: " + name, "CommPort", BoxIcon::Information);
    return;
  }
  program_.settings.port = name;
  {
    std::lock_guard lock(portMutex_);
    portName_ = name;
  }
  program_.session.Link().SelectPort(name);  // closes, reopens with the new name, writes the configuration
}

// Converts chosen BIN files to layout 1.1; a file that is not an ORV BIN
// brings the chooser back.
void UpdateWindow::UpdateBinFile() {
  if (program_.session.Running()) return;
  for (;;) {
    const auto path = host_.ChooseFile(
        FileChooserSpec{"Select BIN file to update", program_.settings.flshBinPath, "", TypeAndAll(kBinFilter), "", false},
        window_.get());
    if (!path) return;
    const SingleBinUpdate outcome = UpdateOneBinFile(*path);
    if (outcome.result == 0) {
      const RememberedPath remembered = SplitRememberedPath(*path);
      program_.settings.flshBin = remembered.full;
      program_.settings.flshBinFile = remembered.name;
      program_.settings.flshBinPath = remembered.directory;
      program_.WriteSettings();
    }
    ShowBox(outcome.text, outcome.caption, BoxIcon::Information);
    if (!outcome.chooseAgain) return;
  }
}

bool UpdateWindow::OnCloseRequest() {
  if (program_.session.Running()) return false;
  paneShown_ = false;
  if (!window_->Minimised()) {
    const Point at = window_->Position();
    program_.settings.xPosHwnd = at.x;
    program_.settings.yPosHwnd = at.y;
  }
  program_.WriteSettings();
  return true;
}

std::string UpdateWindow::PortName() const {
  std::lock_guard lock(portMutex_);
  return portName_;
}

}  // namespace vantor::ui
