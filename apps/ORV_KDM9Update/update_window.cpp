#include "update_window.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "platform/serial_device.h"
#include "ui/draw/update_window_painter.h"
#include "ui/qt/app_icon.h"
#include "ui/qt/client_view.h"

namespace vantor::update_app {
namespace {

// The "Messages" box draws its title and an etched frame line only: a
// style's panel fill would lie over the pane and tint its colours.
class PaneFrameBox final : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const QRect frame = rect().adjusted(0, metrics.height() / 2, -1, -1);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(QColor(255, 255, 255));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));
    const QRect caption(8, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
    painter.fillRect(caption, palette().window());
    painter.setPen(palette().windowText().color());
    painter.drawText(caption, Qt::AlignCenter, title());
  }
};

}  // namespace

UpdateWindow::UpdateWindow(UpdateProgram& program)
    : program_(program), dialogs_(QtUpdateDialogs(this)), view_(new ui::ClientView(this)) {
  setWindowTitle("ORV_KDM9Update");
  setWindowIcon(ui::AppIcon());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setCentralWidget(view_);
  BuildMenus();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  portName_ = program_.settings.port;

  QPalette palette = view_->palette();
  palette.setColor(QPalette::Window, QColor(220, 220, 220));
  palette.setColor(QPalette::WindowText, QColor(20, 20, 20));
  view_->setPalette(palette);
  proceed_ = new QPushButton("Proceed With Update", view_);
  proceed_->setGeometry(300, 480, 200, 40);
  connect(proceed_, &QPushButton::clicked, this, &UpdateWindow::ProceedWithUpdate);
  messages_ = new PaneFrameBox("Messages", view_);
  messages_->setGeometry(30, 110, 730, 365);
  messages_->setAttribute(Qt::WA_TransparentForMouseEvents);
  messages_->hide();

  view_->Surface().SetPainter([this](ui::Canvas& canvas) {
    ui::PaintUpdateWindow(canvas, program_.session.Pane(),
                          ui::UpdateFace{PaneShown(), PortName(), program_.session.Link().PortIsOpen()});
  });
  InstallHooks();
  PlaceWindow();
  RepaintAll();
  proceed_->setFocus();
}

UpdateWindow::~UpdateWindow() {
  program_.session.Stop();
  program_.session.Pane().SetChangeHook({});
  program_.session.Link().SetStatusHook({});
}

// The flash thread draws the pane as lines arrive; the communication thread
// draws the port status as the port opens and closes. Both go through the
// surface's lock, and the pane is read under its own lock.
void UpdateWindow::InstallHooks() {
  program_.session.Pane().SetChangeHook([this] {
    if (!PaneShown()) return;
    ui::DrawScope scope(view_->Surface());
    ui::DrawUpdatePane(scope.canvas(), program_.session.Pane());
  });
  program_.session.Link().SetStatusHook([this](bool open) {
    ui::DrawScope scope(view_->Surface());
    ui::DrawUpdatePortStatus(scope.canvas(), PortName(), open);
  });
}

void UpdateWindow::PlaceWindow() {
  if (program_.settings.xPosHwnd != -1) {
    move(program_.settings.xPosHwnd, program_.settings.yPosHwnd);
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desk = screen->geometry();
    move(desk.width() / 2 - 400, desk.height() / 2 - 300);
  }
}

bool UpdateWindow::Start() {
  EcmLink& link = program_.session.Link();
  if (!link.PortIsOpen()) {
    if (PortNameFits(program_.settings.port)) {
      link.SelectPort(program_.settings.port);  // writes the configuration
    } else {
      dialogs_.showBox("Port name too long: " + program_.settings.port, "CommPort", BoxIcon::Information);
      program_.WriteSettings();
    }
  }
  link.RequestRxReset();
  if (!program_.session.Start()) {
    dialogs_.showBox("CreateThread failed", "comm", BoxIcon::Information);
    return false;
  }
  return true;
}

// The controls are disabled here, on the user-interface thread, before the
// flash thread exists: a second click cannot start a second run.
void UpdateWindow::ProceedWithUpdate() {
  if (!proceed_->isEnabled() || program_.session.Running()) return;
  SetRunning(true);
  paneShown_ = true;
  view_->setFocus();
  program_.session.Pane().Clear();
  messages_->show();
  RepaintAll();
  const bool started = program_.session.StartRun(program_.RunSetup(), [this](int result) {
    QMetaObject::invokeMethod(this, [this, result] { RunFinished(result); }, Qt::QueuedConnection);
  });
  if (!started) {
    dialogs_.showBox("CreateThread failed", "flash", BoxIcon::Information);
    SetRunning(false);
  }
}

void UpdateWindow::RunFinished(int result) {
  if (result != 0) dialogs_.showBox("", "-ORV Update Error-", BoxIcon::Error);
  SetRunning(false);
}

// A port change or an exit in the middle of an erase would leave the module
// without a program.
void UpdateWindow::SetRunning(bool running) {
  proceed_->setEnabled(!running);
  portMenu_->menuAction()->setEnabled(!running);
  binUpdate_->setEnabled(!running);
  exit_->setEnabled(!running);
}

void UpdateWindow::ChoosePort(const std::string& name) {
  if (program_.session.Running()) return;
  if (!PortNameFits(name)) {
    dialogs_.showBox("Port name too long: " + name, "CommPort", BoxIcon::Information);
    return;
  }
  program_.settings.port = name;
  {
    std::lock_guard lock(portMutex_);
    portName_ = name;
  }
  program_.session.Link().SelectPort(name);  // closes, reopens with the new name, writes the configuration
}

void UpdateWindow::closeEvent(QCloseEvent* event) {
  if (program_.session.Running()) {
    event->ignore();
    return;
  }
  paneShown_ = false;
  if (!isMinimized()) {
    program_.settings.xPosHwnd = pos().x();
    program_.settings.yPosHwnd = pos().y();
  }
  program_.WriteSettings();
  event->accept();
}

void UpdateWindow::RepaintAll() { view_->Surface().RepaintAll(); }

std::string UpdateWindow::PortName() const {
  std::lock_guard lock(portMutex_);
  return portName_;
}

}  // namespace vantor::update_app
