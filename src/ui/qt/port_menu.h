#pragma once
// The CommPort menu of both programs: COM1..COM40, then the adapters present
// and "Simulated ECM". The second part is listed anew each time the menu
// opens, so an adapter plugged in after start-up is there, and the port in
// use is checked.

#include <functional>
#include <string>
#include <vector>

#include "ui/qt/port_list.h"

class QAction;
class QMenu;

namespace vantor::ui {

using PortChoice = std::function<void(const std::string& portName)>;
using PortLister = std::function<std::vector<PortEntry>()>;

// Marks a fixed item with the port name it stands for, so it can be checked.
void TagPortItem(QAction* item, const std::string& portName);

// Adds the separator after the fixed items and refreshes the rest on every
// opening: lister() names the adapters, currentPort() the port to check.
void MakeLivePortMenu(QMenu* menu, PortLister lister, std::function<std::string()> currentPort,
                      PortChoice choose);

}  // namespace vantor::ui
