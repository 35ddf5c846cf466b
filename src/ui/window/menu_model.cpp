#include "ui/window/menu_model.h"

namespace vantor::ui {
namespace {

MenuItem* FindIn(std::vector<MenuItem>& items, int id) {
  for (MenuItem& item : items) {
    if (item.id == id && !item.text.empty()) return &item;
    if (MenuItem* inner = FindIn(item.items, id)) return inner;
  }
  return nullptr;
}

}  // namespace

MenuItem Item(int id, std::string text, bool enabled) {
  MenuItem item;
  item.id = id;
  item.text = std::move(text);
  item.enabled = enabled;
  return item;
}

MenuItem Separator() { return MenuItem{}; }

MenuItem Submenu(int id, std::string text, std::vector<MenuItem> items) {
  MenuItem item = Item(id, std::move(text));
  item.items = std::move(items);
  return item;
}

void MenuModel::Attach(WindowHost* window, const std::vector<Accelerator>& keys) {
  window_ = window;
  if (window_) window_->SetMenu(bar_, keys);
}

MenuItem* MenuModel::FindItem(int id) { return FindIn(bar_, id); }

const MenuItem* MenuModel::Find(int id) const { return FindIn(const_cast<std::vector<MenuItem>&>(bar_), id); }

bool MenuModel::Enabled(int id) const {
  const MenuItem* item = Find(id);
  return item && item->enabled;
}

void MenuModel::Push(const MenuItem& item) {
  if (window_) window_->SetMenuItemState(item);
}

void MenuModel::SetEnabled(int id, bool enabled) {
  if (MenuItem* item = FindItem(id); item && item->enabled != enabled) {
    item->enabled = enabled;
    Push(*item);
  }
}

void MenuModel::SetText(int id, const std::string& text) {
  if (MenuItem* item = FindItem(id); item && item->text != text) {
    item->text = text;
    Push(*item);
  }
}

void MenuModel::SetChecked(int id, bool checked) {
  if (MenuItem* item = FindItem(id); item && item->checked != checked) {
    item->checked = checked;
    Push(*item);
  }
}

void MenuModel::SetItems(int submenu, std::vector<MenuItem> items) {
  MenuItem* menu = FindItem(submenu);
  if (!menu) return;
  menu->items = std::move(items);
  if (window_) window_->SetMenuItems(submenu, menu->items);
}

}  // namespace vantor::ui
