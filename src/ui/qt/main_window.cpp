#include "ui/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QThread>

#include <chrono>
#include <filesystem>

#include "link/commands.h"
#include "platform/serial_device.h"
#include "ui/draw/menu_commands.h"
#include "ui/qt/analysis_window.h"
#include "ui/qt/app_icon.h"
#include "ui/qt/client_view.h"
#include "ui/qt/flash_window.h"
#include "ui/qt/info_boxes.h"
#include "ui/qt/knock_controls.h"
#include "ui/qt/log_chooser.h"
#include "ui/qt/playback_controls.h"
#include "ui/qt/trip_controls.h"

namespace vantor::ui {
namespace {

constexpr auto kSuspendBound = std::chrono::milliseconds(500);

}  // namespace

MainWindow::MainWindow(ProgramParts& parts)
    : parts_(parts),
      view_(new ClientView(this)),
      liveView_(parts.session.Live(), parts.session.Adc(), [this] { return CurrentState(); }),
      panel_(liveView_, spinner_, [this](const std::string& text, const std::string& caption) {
        const QString t = QString::fromStdString(text), c = QString::fromStdString(caption);
        QMetaObject::invokeMethod(this, [this, t, c] { ShowMessage(t, c); }, Qt::QueuedConnection);
      }),
      playbackControls_(std::make_unique<PlaybackControls>(parts.playback, parts.settings, this)) {
  setWindowTitle("Vantor");
  setWindowIcon(AppIcon());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setCentralWidget(view_);
  BuildMenus();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  {
    std::lock_guard<std::mutex> lock(namesMutex_);
    portName_ = parts_.settings.port;
  }

  gauges_ = std::make_unique<GaugeDisplay>(parts_.settings, liveView_, panel_, view_->Surface());
  painter_ = std::make_unique<DisplayPainter>(liveView_, panel_, *gauges_);
  view_->Surface().SetPainter([this](Canvas& canvas) { painter_->Paint(canvas, Mode()); });
  parts_.session.Loop().SetConsumer(ConsumerSlot::Gauges, gauges_.get());
  BuildLiveDisplays();
  BuildVeLearn();
  analysis_ = std::make_unique<AnalysisWindow>(AnalysisParts{
      parts_.settings, parts_.session.Sources(), std::filesystem::path(parts_.configPath).parent_path().string(),
      *view_, view_->Surface(), this,
      [this](const std::string& text, const std::string& caption) {
        ShowMessage(QString::fromStdString(text), QString::fromStdString(caption));
      },
      [this](const std::string& title, const std::string& directory, const std::string& name) {
        fileDialogOpen_ = true;
        const std::string path = ChooseDataLog(this, title, directory, name);
        fileDialogOpen_ = false;
        return path;
      }});
  painter_->SetBody(DisplayMode::Analysis, &analysis_->Body());
  view_->onKey = [this](QKeyEvent* event) { return HandleKey(event); };
  view_->onMouseMove = [this] {
    if (Mode() != DisplayMode::Analysis && Mode() != DisplayMode::Flash && !view_->hasFocus() &&
        (QApplication::activeWindow() == this || tools_->IsToolWindow(QApplication::activeWindow())))
      view_->setFocus();
  };

  InstallHooks();

  if (parts_.settings.xPosHwnd != -1) {
    move(parts_.settings.xPosHwnd, parts_.settings.yPosHwnd);
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desk = screen->geometry();
    move(desk.width() / 2 - 400, desk.height() / 2 - 300);
  }
}

// The threads draw into this window's surface: they end before it goes.
MainWindow::~MainWindow() {
  parts_.playback.StopPlayback();
  parts_.recorder.StopDataLog();
  parts_.session.Stop();
  parts_.session.Loop().SetConsumer(ConsumerSlot::Gauges, nullptr);
  parts_.session.Loop().SetConsumer(ConsumerSlot::VeLearn, nullptr);
  parts_.hooks = WindowHooks{};
}

void MainWindow::Start() {
  view_->Surface().RepaintAll();
  parts_.StartThreads();
  Command(cmd::kVantor);
  view_->setFocus();
}

void MainWindow::Command(int id) {
  if (auto port = ComPortNumber(id)) {
    ChoosePort("COM" + std::to_string(*port));
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
    case cmd::kExit: close(); break;
    case cmd::kDataLog: StartDataLog(); break;
    case cmd::kCloseDataLog: parts_.recorder.StopDataLog(); break;
    case cmd::kPlayback: StartPlayback(); break;
    case cmd::kStopPlayback: StopPlaybackCommand(); break;
    case cmd::kLearnVe:
      if (Mode() == DisplayMode::Analysis || Mode() == DisplayMode::Flash) Command(cmd::kVantor);
      learnFlow_->Start();
      break;
    case cmd::kStopLearnVe: learnFlow_->Stop(); break;
    case cmd::kMalfCodes: OpenMalfCodes(); break;
    case cmd::kBankSelect: OpenBankSelect(); break;
    case cmd::kPreferences: OpenPreferences(); break;
    case cmd::kUserDevices: OpenUserDevices(); break;
    default: break;  // the dialogs and windows of these items are not part of this program yet
  }
}

// ---- hooks from the parts (any thread) ----

void MainWindow::InstallHooks() {
  auto onUi = [this](std::function<void()> work) {
    if (QThread::currentThread() == thread())
      work();
    else
      QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
  };
  WindowHooks& hooks = parts_.hooks;
  hooks.onUserThread = onUi;
  hooks.showMessage = [this](const std::string& text, const std::string& caption) {
    const QString t = QString::fromStdString(text), c = QString::fromStdString(caption);
    QMetaObject::invokeMethod(this, [this, t, c] { ShowMessage(t, c); }, Qt::QueuedConnection);
  };
  hooks.loggingChanged = [this, onUi](bool logging) {
    onUi([this, logging] {
      {
        std::lock_guard<std::mutex> lock(namesMutex_);
        logName_ = parts_.settings.dlogName;
      }
      items_[cmd::kDataLog]->setEnabled(!logging && !parts_.playback.Playing());
      items_[cmd::kCloseDataLog]->setEnabled(logging);
      InvalidateAll();
    });
  };
  hooks.playingChanged = [this, onUi](bool playing) {
    onUi([this, playing] {
      {
        std::lock_guard<std::mutex> lock(namesMutex_);
        playName_ = parts_.settings.playName;
      }
      items_[cmd::kDataLog]->setEnabled(!playing && !parts_.recorder.Logging());
      items_[cmd::kPlayback]->setEnabled(!playing);
      items_[cmd::kStopPlayback]->setEnabled(playing);
      InvalidateAll();
    });
  };
  hooks.progressCreate = [this, onUi](int maximum) {
    onUi([this, maximum] {
      delete progress_;
      progress_ = new QProgressBar(view_);
      progress_->setGeometry(612, 17, 173, 9);
      progress_->setRange(0, maximum);
      progress_->setValue(0);
      progress_->setTextVisible(false);
      progress_->show();
    });
  };
  hooks.progressStep = [this, onUi] {
    onUi([this] {
      if (progress_) progress_->setValue(progress_->value() + 1);
    });
  };
  hooks.progressRemove = [this, onUi] {
    onUi([this] {
      delete progress_;
      progress_ = nullptr;
    });
  };
  hooks.playbackEnd = [this] { view_->Surface().InvalidateAll(); };
  hooks.activityStep = [this] {
    if (!IsLiveDisplay(Mode()) || parts_.playback.Playing()) return;
    DrawScope scope(view_->Surface());
    if (spinner_.CountFrame()) spinner_.Step(scope.canvas());
  };
  hooks.portChanged = [this](bool open) {
    if (!IsLiveDisplay(Mode())) return;
    std::string name;
    {
      std::lock_guard<std::mutex> lock(namesMutex_);
      name = portName_;
    }
    DrawScope scope(view_->Surface());
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

// ---- keys ----

bool MainWindow::HandleKey(QKeyEvent* event) {
  const QString text = event->text();
  if (text == "?" || text == "/") {
    ShowAbout();
    return true;
  }
  if (Mode() == DisplayMode::Analysis && analysis_->HandleKey(event->key())) return true;
  if (Mode() == DisplayMode::Analysis || Mode() == DisplayMode::Flash) return false;
  if (text.size() == 1) {
    if (auto command = QuickKeyCommand(text[0].toLatin1())) {
      Command(*command);
      return true;
    }
  }
  if (!parts_.recorder.Logging()) return false;
  switch (event->key()) {
    case Qt::Key_Tab: parts_.recorder.RequestMark(); break;
    case Qt::Key_Space: parts_.recorder.RequestTimeStamp(); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (parts_.settings.enterPause != 1 || !parts_.recorder.PauseFromKey()) return true;
      break;
    default: return false;
  }
  DrawLoggingState();
  return true;
}

void MainWindow::DrawLoggingState() {
  if (!IsLiveDisplay(Mode())) return;
  const ProgramState state = CurrentState();
  DrawScope scope(view_->Surface());
  panel_.DrawLoggingState(scope.canvas(), state);
}

// ---- data log and playback ----

void MainWindow::StartDataLog() {
  if (Mode() == DisplayMode::Analysis || Mode() == DisplayMode::Flash) Command(cmd::kVantor);
  if (parts_.recorder.Logging()) return;
  fileDialogOpen_ = true;
  const std::string path = ChooseDataLogToWrite(this, "Select/Create File to Save Data Log to",
                                                parts_.settings.dlogPath, parts_.settings.dlogName);
  fileDialogOpen_ = false;
  if (!path.empty()) parts_.recorder.StartDataLog(path);
}

void MainWindow::StartPlayback() {
  if (Mode() == DisplayMode::Analysis || Mode() == DisplayMode::Flash) Command(cmd::kVantor);
  if (parts_.playback.Playing()) return;
  fileDialogOpen_ = true;
  const std::string path =
      ChooseDataLog(this, "Select File to Playback", parts_.settings.playPath, parts_.settings.playName, "dat");
  fileDialogOpen_ = false;
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
  if (!parts_.link.PortIsOpen()) SelectPort();
  if (parts_.settings.actvFbnk == 1 && !BankSelectOpen()) OpenBankSelect();
}

// A switch may have destroyed the control that had the focus: the keys
// (quick selections, mark, stamp) go to the window again, unless a playback
// control took the focus (those pass the keys on).
void MainWindow::TakeKeyboard() {
  if (!IsLiveDisplay(Mode()) || playbackControls_->Owns(focusWidget())) return;
  view_->setFocus();
}

// A click on a display's own control: the whole window is drawn again and
// the keys stay the window's.
void MainWindow::RepaintWithKeyboard() {
  InvalidateAll();
  view_->setFocus();
}

void MainWindow::CreatePlaybackControls() { playbackControls_->Create(view_, Mode() == DisplayMode::Gauges); }

// On the gauge display the "Playback Rate" caption goes with them (repaint).
void MainWindow::RemovePlaybackControls() {
  if (!playbackControls_->Remove()) return;
  view_->setFocus();
  InvalidateAll();
}

// The playback controls hand the window's keys on.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event))) return true;
  return QMainWindow::eventFilter(watched, event);
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

void MainWindow::Suspend() { parts_.session.Display().Suspend(kSuspendBound); }
void MainWindow::Resume() { parts_.session.Display().Resume(); }
void MainWindow::SetMode(DisplayMode mode) { parts_.state.SetMode(mode); }

void MainWindow::TearDown(Controls controls) {
  if (controls == Controls::Playback) RemovePlaybackControls();
  TearDownDisplayControls(controls);
  if (controls == Controls::VeLearn) veControls_->Remove();
  if (controls == Controls::Flash) RemoveFlashWindow();
  if (controls == Controls::Analysis) analysis_->Close();
}

void MainWindow::Create(Controls controls) {
  if (controls == Controls::Playback) CreatePlaybackControls();
  CreateDisplayControls(controls);
  if (controls == Controls::VeLearn) veControls_->Create(view_);
  if (controls == Controls::Flash) CreateFlashWindow();
  if (controls == Controls::Analysis) analysis_->Open();
}

void MainWindow::InvalidateAll() { view_->Surface().RepaintAll(); }
bool MainWindow::Playing() const { return parts_.playback.Playing(); }
bool MainWindow::PortIsOpen() const { return parts_.link.PortIsOpen(); }

void MainWindow::SelectPort() {
  // An over-long [PORT] is refused rather than cut to the device name's size.
  if (!PortNameFits(parts_.settings.port)) {
    ShowMessage(QString::fromStdString("Port name too long: " + parts_.settings.port), "CommPort");
    return;
  }
  if (IsLiveDisplay(Mode())) {
    DrawScope scope(view_->Surface());
    StatusPanel::DrawPortState(scope.canvas(), parts_.settings.port, false);
  }
  parts_.link.SelectPort(parts_.settings.port);
}

void MainWindow::ReleasePort() { parts_.link.ReleasePort(); }
void MainWindow::RequestRxReset() { parts_.link.RequestRxReset(); }
void MainWindow::StopStream() { TxMsXmit(parts_.link, 0); }
void MainWindow::StopDataLog() { parts_.recorder.StopDataLog(); }

void MainWindow::StopPlayback() {
  parts_.playback.StopPlayback();
  RemovePlaybackControls();
}

// ---- exit ----

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!exited_) {
    exited_ = true;
    tools_->CapturePositions();
    RunExitSequence(*this);
    tools_->CloseMalf();  // the floating windows go with the program (their open state is kept)
    tools_->CloseBank();
  }
  event->accept();
}

bool MainWindow::Minimised() const { return isMinimized(); }

void MainWindow::StoreWindowPosition() {
  parts_.settings.xPosHwnd = pos().x();
  parts_.settings.yPosHwnd = pos().y();
}

void MainWindow::WriteSettings() { parts_.WriteSettings(); }
void MainWindow::CloseDataLog() { parts_.recorder.StopDataLog(); }
void MainWindow::ClosePort() { parts_.link.RequestPort(PortClose, nullptr); }

// ---- boxes ----

void MainWindow::ShowMessage(const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, this);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

void MainWindow::ShowAbout() { ShowAboutBox(this); }
void MainWindow::ShowHelp() { ShowHelpBox(this); }

}  // namespace vantor::ui
