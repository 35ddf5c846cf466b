#include "ui/window/port_menu.h"

#include "sim/sim_serial.h"

namespace vantor::ui {
namespace {

constexpr int kFirstListedPort = 41000;

MenuItem PortItem(int id, std::string text, const std::string& port, const std::string& current) {
  MenuItem item = Item(id, std::move(text));
  item.checkable = true;
  item.checked = port == current;
  return item;
}

}  // namespace

PortMenu::PortMenu(int menuId, std::string title, std::vector<int> fixedIds, Lister lister)
    : menuId_(menuId), title_(std::move(title)), fixedIds_(std::move(fixedIds)), lister_(std::move(lister)) {}

std::vector<MenuItem> PortMenu::Items(const std::string& currentPort) {
  std::vector<MenuItem> items;
  for (std::size_t i = 0; i < fixedIds_.size(); ++i) {
    const std::string number = std::to_string(i + 1);
    items.push_back(PortItem(fixedIds_[i], (i < 9 ? "COM&" : "COM") + number, "COM" + number, currentPort));
  }
  items.push_back(Separator());
  liveNames_.clear();
  std::vector<PortEntry> listed = lister_ ? lister_() : std::vector<PortEntry>{};
  listed.push_back({"Simulated ECM", sim::kSimPortName});
  for (const PortEntry& entry : listed) {
    items.push_back(PortItem(kFirstListedPort + static_cast<int>(liveNames_.size()), entry.text, entry.portName,
                             currentPort));
    liveNames_.push_back(entry.portName);
  }
  return items;
}

MenuItem PortMenu::Menu(const std::string& currentPort) {
  MenuItem menu = Submenu(menuId_, title_, Items(currentPort));
  menu.refreshOnOpen = true;
  return menu;
}

void PortMenu::Refresh(MenuModel& menu, const std::string& currentPort) { menu.SetItems(menuId_, Items(currentPort)); }

std::optional<std::string> PortMenu::PortOf(int command) const {
  for (std::size_t i = 0; i < fixedIds_.size(); ++i)
    if (fixedIds_[i] == command) return "COM" + std::to_string(i + 1);
  const int listed = command - kFirstListedPort;
  if (listed >= 0 && listed < static_cast<int>(liveNames_.size())) return liveNames_[static_cast<std::size_t>(listed)];
  return std::nullopt;
}

}  // namespace vantor::ui
