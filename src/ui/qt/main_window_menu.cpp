// The main window's menu: the items with their texts and initial graying,
// the CommPort list and the Display items that SelectDisplay regrays.

#include "ui/qt/main_window.h"

#include <QMenu>
#include <QMenuBar>

#include "ui/draw/menu_commands.h"
#include "ui/qt/port_menu.h"

namespace vantor::ui {
QAction* MainWindow::AddItem(QMenu* menu, int id, const QString& text) {
  QAction* action = menu->addAction(text);
  connect(action, &QAction::triggered, this, [this, id] { Command(id); });
  items_[id] = action;
  return action;
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  AddItem(file, cmd::kDataLog, "&DataLog...");
  AddItem(file, cmd::kCloseDataLog, "Close DataLo&g");
  file->addSeparator();
  AddItem(file, cmd::kPlayback, "&Playback...");
  AddItem(file, cmd::kStopPlayback, "&Stop Playback");
  file->addSeparator();
  AddItem(file, cmd::kLearnVe, "&Learn VE...");
  AddItem(file, cmd::kStopLearnVe, "St&op Learn VE");
  file->addSeparator();
  AddItem(file, cmd::kPreferences, "Pre&ferences...");
  AddItem(file, cmd::kUserDevices, "&User Devices...");
  BuildPortMenu(file->addMenu("&CommPort"));
  file->addSeparator();
  AddItem(file, cmd::kExit, "E&xit");

  QMenu* display = menuBar()->addMenu("&Display");
  for (const MenuItemText& item : DisplayMenuItems()) AddItem(display, item.id, item.text);

  QMenu* help = menuBar()->addMenu("&Help");
  AddItem(help, cmd::kHelp, "&Help");
  AddItem(help, cmd::kAbout, "&About");

  QAction* quick = menuBar()->addAction("         Quick Display Selections ->");
  quick->setEnabled(false);
  for (auto [id, text] : {std::pair{cmd::kVtd, "&VTD"}, std::pair{cmd::kTripQuick, "&TRIP"},
                          std::pair{cmd::kVeQuick, "&VE"}, std::pair{cmd::kSpkQuick, "&SPK"},
                          std::pair{cmd::kDiagQuick, "DIA&G"}}) {
    const int command = id;
    QAction* action = menuBar()->addAction(text);
    connect(action, &QAction::triggered, this, [this, command] { Command(command); });
    items_[command] = action;
  }
  for (int id : {cmd::kCloseDataLog, cmd::kStopPlayback, cmd::kStopLearnVe, cmd::kVantor}) items_[id]->setEnabled(false);
}

void MainWindow::BuildPortMenu(QMenu* menu) {
  const auto& ids = ComPortCommands();
  for (std::size_t i = 0; i < ids.size(); ++i) {
    const QString text = i < 9 ? QString("COM&%1").arg(i + 1) : QString("COM%1").arg(i + 1);
    TagPortItem(AddItem(menu, ids[i], text), "COM" + std::to_string(i + 1));
  }
  MakeLivePortMenu(
      menu, [] { return SerialPortsPresent(); }, [this] { return parts_.settings.port; },
      [this](const std::string& name) { ChoosePort(name); });
}

bool MainWindow::MenuItemEnabled(int id) const {
  auto it = items_.find(id);
  return it != items_.end() && it->second->isEnabled();
}

void MainWindow::EnableDisplayItems() {
  for (const MenuItemText& item : DisplayMenuItems()) {
    QAction* action = items_[item.id];
    action->setText(item.text);
    action->setEnabled(true);
  }
}

void MainWindow::GrayItem(int command) {
  if (auto it = items_.find(command); it != items_.end()) it->second->setEnabled(false);
}

}  // namespace vantor::ui
