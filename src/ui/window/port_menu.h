#pragma once
// The CommPort menu of both programs: COM1..COM40, then the adapters
// present and "Simulated ECM", listed anew each time the menu opens, with
// the port in use checked.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/window/menu_model.h"
#include "ui/window/port_list.h"

namespace vantor::ui {

class PortMenu {
 public:
  using Lister = std::function<std::vector<PortEntry>()>;
  // fixedIds: the commands of COM1..COM40 in menu order.
  PortMenu(int menuId, std::string title, std::vector<int> fixedIds, Lister lister);

  // The submenu, as it is before its first opening.
  MenuItem Menu(const std::string& currentPort);
  // The menu is opening: the adapters present now, currentPort checked.
  void Refresh(MenuModel& menu, const std::string& currentPort);
  // The port a command of this menu stands for.
  std::optional<std::string> PortOf(int command) const;
  int MenuId() const { return menuId_; }

 private:
  std::vector<MenuItem> Items(const std::string& currentPort);

  int menuId_;
  std::string title_;
  std::vector<int> fixedIds_;
  Lister lister_;
  std::vector<std::string> liveNames_;  // the listed part's ports, by command
};

}  // namespace vantor::ui
