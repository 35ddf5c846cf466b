#include "ui/window/user_devices_dialog.h"

#include <algorithm>

#include "ui/window/window_controls.h"

namespace vantor::ui {
namespace {

using namespace control_style;

constexpr int kRefocusTimer = 1;

std::string VoltsForText(const std::string& unit) { return "Volts for " + unit + " of  "; }

ControlSpec Edit(int id, int maxLength, int x, int y, int width) {
  ControlSpec edit = Control(id, ControlKind::Edit, "", x, y, width, 12);
  edit.maxLength = maxLength;
  return edit;
}

DialogSpec UserDevicesSpec(const Settings& settings) {
  using D = UserDevicesDialog;
  DialogSpec spec{"User Device", 206, 255, {}};
  auto& c = spec.controls;
  c.push_back(Control(1045, ControlKind::GroupBox, "Devices", 7, 5, 192, 46));
  c.push_back(Control(1900, ControlKind::StaticText, "Select Entry to Add/Edit/Delete:", 14, 16, 170, 9));
  ControlSpec slots = Control(D::kSlots, ControlKind::ComboBox, "", 14, 28, 178, 12);
  for (const UserDevice& device : settings.userDevices) slots.items.push_back(device.name);
  c.push_back(std::move(slots));
  c.push_back(Control(1044, ControlKind::GroupBox, "Device Parameters", 7, 56, 192, 166));
  c.push_back(Control(1046, ControlKind::StaticText, "Device Name:", 14, 68, 80, 9));
  c.push_back(Edit(D::kName, kUserDeviceNameMax, 14, 78, 178));
  c.push_back(Control(1047, ControlKind::StaticText, "Unit Name:", 14, 98, 44, 9));
  c.push_back(Edit(D::kUnit, kUserDeviceUnitMax, 60, 96, 30));
  c.push_back(Edit(D::kVoltsJ, kVoltsTextMax, 14, 120, 30));
  c.push_back(Control(D::kVoltsForJ, ControlKind::StaticText, "", 48, 122, 78, 9));
  c.push_back(Edit(D::kReadingJ, kReadingTextMax, 128, 120, 60));
  c.push_back(Edit(D::kVoltsK, kVoltsTextMax, 14, 140, 30));
  c.push_back(Control(D::kVoltsForK, ControlKind::StaticText, "", 48, 142, 78, 9));
  c.push_back(Edit(D::kReadingK, kReadingTextMax, 128, 140, 60));
  c.push_back(Control(1901, ControlKind::StaticText, "Places to right of decimal point (in output):", 14, 164, 150, 20,
                      kWordWrap));
  c.push_back(Edit(D::kPlaces, 1, 170, 166, 16));
  c.push_back(Control(D::kApply, ControlKind::Button, "Apply", 20, 232, 50, 14));
  c.push_back(Control(D::kDelete, ControlKind::Button, "Delete", 78, 232, 50, 14));
  c.push_back(Control(D::kClose, ControlKind::Button, "Close", 136, 232, 50, 14));
  return spec;
}

bool IsNumberEdit(int id) {
  using D = UserDevicesDialog;
  return id == D::kVoltsJ || id == D::kReadingJ || id == D::kVoltsK || id == D::kReadingK || id == D::kPlaces;
}

}  // namespace

int& UserDevicesDialog::RememberedSlot() {
  static int slot = 0;
  return slot;
}

UserDevicesDialog::UserDevicesDialog(Settings& settings, SettingsDialogHost links, Host& host)
    : settings_(settings), links_(std::move(links)), host_(host) {}

void UserDevicesDialog::Run(WindowHost* owner) {
  host_.RunDialog(UserDevicesSpec(settings_), *this, [this](WindowHost& dialog) {
    dialog_ = &dialog;
    current_ = std::clamp(RememberedSlot(), 0, kUserDeviceCount - 1);
    dialog_->SetValue(kSlots, current_);
    LoadSlot(current_);
  }, owner);
  dialog_ = nullptr;
}

// ---- slots and texts ----

void UserDevicesDialog::LoadSlot(int slot) {
  const UserDeviceTexts texts = SlotTexts(settings_.userDevices[slot]);
  ShowUnit(texts.unit);
  dialog_->SetText(kName, texts.name);
  dialog_->SetText(kUnit, texts.unit);
  dialog_->SetText(kVoltsJ, texts.voltsJ);
  dialog_->SetText(kReadingJ, texts.readingJ);
  dialog_->SetText(kVoltsK, texts.voltsK);
  dialog_->SetText(kReadingK, texts.readingK);
  dialog_->SetText(kPlaces, texts.places);
  dialog_->SetEnabled(kApply, false);
  saved_ = true;
  dialog_->Focus(kName, false);
  dialog_->SelectText(kName, 0, -1);
}

UserDeviceTexts UserDevicesDialog::Texts() const {
  UserDeviceTexts texts;
  texts.name = dialog_->Text(kName);
  texts.unit = dialog_->Text(kUnit);
  texts.voltsJ = dialog_->Text(kVoltsJ);
  texts.readingJ = dialog_->Text(kReadingJ);
  texts.voltsK = dialog_->Text(kVoltsK);
  texts.readingK = dialog_->Text(kReadingK);
  texts.places = dialog_->Text(kPlaces);
  return texts;
}

void UserDevicesDialog::ShowUnit(const std::string& unit) {
  dialog_->SetText(kVoltsForJ, VoltsForText(unit));
  dialog_->SetText(kVoltsForK, VoltsForText(unit));
}

// ---- editing ----

void UserDevicesDialog::Modified() {
  dialog_->SetEnabled(kApply, true);
  saved_ = false;
}

void UserDevicesDialog::FilterTyped(int id, int cursor) {
  bool removed = false;
  const std::string text = dialog_->Text(id);
  const std::string kept = FilterTypedNumber(text, id != kPlaces, &removed);
  if (!removed) return;
  dialog_->SetText(id, kept);
  const int at = std::max(0, cursor - static_cast<int>(text.size() - kept.size()));
  dialog_->SelectText(id, at, at);
  host_.Beep();
}

void UserDevicesDialog::CheckLeft(int id) {
  std::string text = dialog_->Text(id);
  int result = 0;
  if (id == kVoltsJ || id == kVoltsK)
    result = CheckVolts(text);
  else if (id == kReadingJ || id == kReadingK)
    result = CheckReading(text);
  else
    result = CheckPlaces(text);
  if (result == 0) return;
  host_.Beep();
  dialog_->SetText(id, text);
  refocus_ = id;
  dialog_->StartTimer(kRefocusTimer, 0, true);
}

void UserDevicesDialog::OnTimer(int id) {
  if (id != kRefocusTimer || refocus_ == 0) return;
  dialog_->Focus(refocus_, false);
  dialog_->SelectText(refocus_, 0, -1);
  refocus_ = 0;
}

// ---- buttons and the list ----

void UserDevicesDialog::SaveInto(int slot) {
  UserDeviceTexts texts = Texts();
  SaveSlot(texts, settings_.userDevices[slot]);
  dialog_->SetItemText(kSlots, slot, settings_.userDevices[slot].name);
  applied_ = true;
}

// Dialog 141 for unsaved edits of the current slot.
void UserDevicesDialog::AskToSave() {
  if (saved_) return;
  const MessageSpec box{"This device entry has been modified.\n\nDo you want to save the changes?", "Warning!",
                        BoxIcon::Question, BoxButtons::YesNo};
  if (host_.ShowMessage(box, dialog_) == BoxAnswer::Yes) SaveInto(current_);
}

void UserDevicesDialog::ApplySlot() {
  SaveInto(current_);
  dialog_->SetValue(kSlots, current_);
  dialog_->SetEnabled(kApply, false);
  saved_ = true;
  dialog_->Focus(kSlots, false);
}

void UserDevicesDialog::DeleteSlot() {
  ClearSlot(settings_.userDevices[current_]);
  LoadSlot(current_);
  dialog_->SetItemText(kSlots, current_, settings_.userDevices[current_].name);
  applied_ = true;
}

void UserDevicesDialog::SlotChosen(int slot) {
  AskToSave();
  current_ = RememberedSlot() = slot;
  LoadSlot(current_);
}

void UserDevicesDialog::OnControl(const ControlEvent& event) {
  switch (event.action) {
    case ControlAction::Edited:
      Modified();
      if (event.id == kUnit) ShowUnit(dialog_->Text(kUnit));
      if (IsNumberEdit(event.id)) FilterTyped(event.id, event.value);
      break;
    case ControlAction::FocusLost:
      if (IsNumberEdit(event.id)) CheckLeft(event.id);
      break;
    case ControlAction::Changed:
      if (event.id == kSlots) SlotChosen(event.value);
      break;
    case ControlAction::Clicked:
      if (event.id == kApply) ApplySlot();
      if (event.id == kDelete) DeleteSlot();
      if (event.id == kClose) {
        Close();
        dialog_->Close();
      }
      break;
    default: break;
  }
}

// Escape and the close box: as Close.
bool UserDevicesDialog::OnCloseRequest() {
  Close();
  return true;
}

void UserDevicesDialog::Close() {
  AskToSave();
  links_.rebuildChannels(true);
  links_.writeSettings();
  if (applied_) links_.settingsChanged();
  links_.redraw();
}

}  // namespace vantor::ui
