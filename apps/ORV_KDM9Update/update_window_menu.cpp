// The update utility's menu: File > CommPort, "&BIN Update..." with its
// chooser loop, Exit; Help > About, also on Alt+? and Alt+/.

#include <QMenuBar>
#include <QShortcut>

#include "logs/remembered_path.h"
#include "ui/qt/port_menu.h"
#include "update/single_bin_update.h"
#include "update_window.h"

namespace vantor::update_app {

void UpdateWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  portMenu_ = file->addMenu("CommPort");
  BuildPortMenu(portMenu_);
  binUpdate_ = file->addAction("&BIN Update...");
  connect(binUpdate_, &QAction::triggered, this, &UpdateWindow::UpdateBinFile);
  exit_ = file->addAction("E&xit");
  connect(exit_, &QAction::triggered, this, &QWidget::close);
  QMenu* help = menuBar()->addMenu("&Help");
  connect(help->addAction("&About ..."), &QAction::triggered, this, &UpdateWindow::ShowAbout);
  for (const char* keys : {"Alt+?", "Alt+/"}) new QShortcut(QKeySequence(keys), this, [this] { ShowAbout(); });
}

void UpdateWindow::BuildPortMenu(QMenu* menu) {
  for (int port = 1; port <= 40; ++port) {
    const QString text = port < 10 ? QString("COM&%1").arg(port) : QString("COM%1").arg(port);
    const std::string name = "COM" + std::to_string(port);
    QAction* item = menu->addAction(text);
    ui::TagPortItem(item, name);
    connect(item, &QAction::triggered, this, [this, name] { ChoosePort(name); });
  }
  const std::string devices = program_.options.deviceDirectory;
  ui::MakeLivePortMenu(
      menu, [devices] { return ui::SerialPortsPresent(devices); }, [this] { return program_.settings.port; },
      [this](const std::string& name) { ChoosePort(name); });
}

// Converts chosen BIN files to layout 1.1; a file that is not an ORV BIN
// brings the chooser back.
void UpdateWindow::UpdateBinFile() {
  if (program_.session.Running()) return;
  for (;;) {
    const auto path = dialogs_.chooseBinFile(program_.settings.flshBinPath);
    if (!path) return;
    const SingleBinUpdate outcome = UpdateOneBinFile(*path);
    if (outcome.result == 0) {
      const RememberedPath remembered = SplitRememberedPath(*path);
      program_.settings.flshBin = remembered.full;
      program_.settings.flshBinFile = remembered.name;
      program_.settings.flshBinPath = remembered.directory;
      program_.WriteSettings();
    }
    dialogs_.showBox(outcome.text, outcome.caption, BoxIcon::Information);
    if (!outcome.chooseAgain) return;
  }
}

void UpdateWindow::ShowAbout() { dialogs_.showAbout(); }

}  // namespace vantor::update_app
