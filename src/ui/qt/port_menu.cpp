#include "ui/qt/port_menu.h"

#include <QAction>
#include <QMenu>

#include "sim/sim_serial.h"

namespace vantor::ui {
namespace {

const char* const kLivePart = "vantorLivePortItem";

void AddLiveItem(QMenu* menu, const QString& text, const std::string& portName, const PortChoice& choose) {
  QAction* item = menu->addAction(text);
  item->setProperty(kLivePart, true);
  TagPortItem(item, portName);
  QObject::connect(item, &QAction::triggered, menu, [choose, portName] { choose(portName); });
}

void Refresh(QMenu* menu, const PortLister& lister, const std::string& current, const PortChoice& choose) {
  for (QAction* item : menu->actions())
    if (item->property(kLivePart).toBool()) {
      menu->removeAction(item);
      item->deleteLater();
    }
  for (const PortEntry& entry : lister()) AddLiveItem(menu, QString::fromStdString(entry.text), entry.portName, choose);
  AddLiveItem(menu, "Simulated ECM", sim::kSimPortName, choose);
  const QString wanted = QString::fromStdString(current);
  for (QAction* item : menu->actions())
    if (item->isCheckable()) item->setChecked(item->data().toString() == wanted);
}

}  // namespace

void TagPortItem(QAction* item, const std::string& portName) {
  item->setData(QString::fromStdString(portName));
  item->setCheckable(true);
}

void MakeLivePortMenu(QMenu* menu, PortLister lister, std::function<std::string()> currentPort, PortChoice choose) {
  menu->addSeparator();
  auto refresh = [menu, lister = std::move(lister), currentPort = std::move(currentPort), choose = std::move(choose)] {
    Refresh(menu, lister, currentPort(), choose);
  };
  refresh();
  QObject::connect(menu, &QMenu::aboutToShow, menu, refresh);
}

}  // namespace vantor::ui
