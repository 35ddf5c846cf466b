#pragma once
// A window's menu bar as data: the items with their ids, texts, greyed and
// checked states. The window changes states here; each change goes to the
// host's menu at once.

#include <vector>

#include "ui/window/window_host.h"

namespace vantor::ui {

class MenuModel {
 public:
  MenuModel() = default;
  explicit MenuModel(std::vector<MenuItem> bar) : bar_(std::move(bar)) {}

  // Builds the host's menu bar from the data (with the accelerators).
  void Attach(WindowHost* window, const std::vector<Accelerator>& keys);
  const std::vector<MenuItem>& Bar() const { return bar_; }

  void SetEnabled(int id, bool enabled);
  void SetText(int id, const std::string& text);
  void SetChecked(int id, bool checked);
  // A submenu's items, replaced (listed anew when it opens).
  void SetItems(int submenu, std::vector<MenuItem> items);

  const MenuItem* Find(int id) const;
  bool Enabled(int id) const;

 private:
  MenuItem* FindItem(int id);
  void Push(const MenuItem& item);

  std::vector<MenuItem> bar_;
  WindowHost* window_ = nullptr;
};

// A plain item, a separator and a submenu.
MenuItem Item(int id, std::string text, bool enabled = true);
MenuItem Separator();
MenuItem Submenu(int id, std::string text, std::vector<MenuItem> items);

}  // namespace vantor::ui
