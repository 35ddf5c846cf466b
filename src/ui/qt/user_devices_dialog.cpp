#include "ui/qt/user_devices_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

#include "ui/qt/message_boxes.h"

namespace vantor::ui {
namespace {

QString VoltsForText(const QString& unit) { return QString("Volts for %1 of  ").arg(unit); }

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

int& UserDevicesDialog::RememberedSlot() {
  static int slot = 0;
  return slot;
}

UserDevicesDialog::UserDevicesDialog(Settings& settings, SettingsDialogHost host, QWidget* parent)
    : QDialog(parent), settings_(settings), host_(std::move(host)), units_(DialogFont()) {
  setWindowTitle("User Device");
  setFont(DialogFont());
  setFixedSize(units_.X(206), units_.Y(255));
  Build();
  current_ = std::clamp(RememberedSlot(), 0, kUserDeviceCount - 1);
  slots_->setCurrentIndex(current_);
  LoadSlot(current_);
}

// ---- building ----

QLineEdit* UserDevicesDialog::Edit(int maxLength, int x, int y, int width) {
  auto* edit = new QLineEdit(this);
  edit->setMaxLength(maxLength);
  units_.Place(edit, x, y, width, 12);
  return edit;
}

void UserDevicesDialog::Build() {
  units_.Place(new QGroupBox("Devices", this), 7, 5, 192, 46);
  units_.Place(new QLabel("Select Entry to Add/Edit/Delete:", this), 14, 16, 170, 9);
  slots_ = new QComboBox(this);
  for (const UserDevice& device : settings_.userDevices) slots_->addItem(FromStd(device.name));
  units_.Place(slots_, 14, 28, 178, 12);
  connect(slots_, &QComboBox::activated, this, &UserDevicesDialog::SlotChosen);

  units_.Place(new QGroupBox("Device Parameters", this), 7, 56, 192, 166);
  units_.Place(new QLabel("Device Name:", this), 14, 68, 80, 9);
  name_ = Edit(kUserDeviceNameMax, 14, 78, 178);
  units_.Place(new QLabel("Unit Name:", this), 14, 98, 44, 9);
  unit_ = Edit(kUserDeviceUnitMax, 60, 96, 30);
  voltsJ_ = Edit(kVoltsTextMax, 14, 120, 30);
  voltsForJ_ = new QLabel(this);
  units_.Place(voltsForJ_, 48, 122, 78, 9);
  readingJ_ = Edit(kReadingTextMax, 128, 120, 60);
  voltsK_ = Edit(kVoltsTextMax, 14, 140, 30);
  voltsForK_ = new QLabel(this);
  units_.Place(voltsForK_, 48, 142, 78, 9);
  readingK_ = Edit(kReadingTextMax, 128, 140, 60);
  auto* placesCaption = new QLabel("Places to right of decimal point (in output):", this);
  placesCaption->setWordWrap(true);
  units_.Place(placesCaption, 14, 164, 150, 20);
  places_ = Edit(1, 170, 166, 16);

  apply_ = new QPushButton("Apply", this);
  delete_ = new QPushButton("Delete", this);
  close_ = new QPushButton("Close", this);
  int x = 20;
  for (QPushButton* button : {apply_, delete_, close_}) {
    units_.Place(button, x, 232, 50, 14);
    button->setAutoDefault(false);
    x += 58;
  }
  connect(apply_, &QPushButton::clicked, this, &UserDevicesDialog::ApplySlot);
  connect(delete_, &QPushButton::clicked, this, &UserDevicesDialog::DeleteSlot);
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);

  connect(name_, &QLineEdit::textEdited, this, &UserDevicesDialog::Modified);
  connect(unit_, &QLineEdit::textEdited, this, [this](const QString& unit) {
    Modified();
    ShowUnit(unit);
  });
  for (QLineEdit* edit : {voltsJ_, readingJ_, voltsK_, readingK_, places_}) {
    connect(edit, &QLineEdit::textEdited, this, [this, edit] {
      Modified();
      FilterTyped(edit, edit != places_);
    });
    edit->installEventFilter(this);
  }
}

// ---- slots and texts ----

void UserDevicesDialog::LoadSlot(int slot) {
  const UserDevice& device = settings_.userDevices[slot];
  const UserDeviceTexts texts = SlotTexts(device);
  ShowUnit(FromStd(texts.unit));
  name_->setText(FromStd(texts.name));
  unit_->setText(FromStd(texts.unit));
  voltsJ_->setText(FromStd(texts.voltsJ));
  readingJ_->setText(FromStd(texts.readingJ));
  voltsK_->setText(FromStd(texts.voltsK));
  readingK_->setText(FromStd(texts.readingK));
  places_->setText(FromStd(texts.places));
  apply_->setEnabled(false);
  saved_ = true;
  name_->setFocus();
  name_->selectAll();
}

UserDeviceTexts UserDevicesDialog::Texts() const {
  UserDeviceTexts texts;
  texts.name = name_->text().toStdString();
  texts.unit = unit_->text().toStdString();
  texts.voltsJ = voltsJ_->text().toStdString();
  texts.readingJ = readingJ_->text().toStdString();
  texts.voltsK = voltsK_->text().toStdString();
  texts.readingK = readingK_->text().toStdString();
  texts.places = places_->text().toStdString();
  return texts;
}

void UserDevicesDialog::ShowUnit(const QString& unit) {
  voltsForJ_->setText(VoltsForText(unit));
  voltsForK_->setText(VoltsForText(unit));
}

// ---- editing ----

void UserDevicesDialog::Modified() {
  apply_->setEnabled(true);
  saved_ = false;
}

void UserDevicesDialog::FilterTyped(QLineEdit* edit, bool signedDecimal) {
  bool removed = false;
  const QString kept = FromStd(FilterTypedNumber(edit->text().toStdString(), signedDecimal, &removed));
  if (!removed) return;
  const int cursor = edit->cursorPosition() - static_cast<int>(edit->text().size() - kept.size());
  edit->setText(kept);
  edit->setCursorPosition(std::max(0, cursor));
  Beep();
}

bool UserDevicesDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // Only a move to another control of this dialog is leaving the edit.
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && isVisible())
      CheckLeft(static_cast<QLineEdit*>(watched));
  }
  return QDialog::eventFilter(watched, event);
}

void UserDevicesDialog::CheckLeft(QLineEdit* edit) {
  std::string text = edit->text().toStdString();
  int result = 0;
  if (edit == voltsJ_ || edit == voltsK_)
    result = CheckVolts(text);
  else if (edit == readingJ_ || edit == readingK_)
    result = CheckReading(text);
  else
    result = CheckPlaces(text);
  if (result == 0) return;
  Beep();
  edit->setText(FromStd(text));
  QTimer::singleShot(0, edit, [edit] {
    edit->setFocus();
    edit->selectAll();
  });
}

void UserDevicesDialog::Beep() {
  if (host_.beep)
    host_.beep();
  else
    QApplication::beep();
}

// ---- buttons and the list ----

void UserDevicesDialog::SaveInto(int slot) {
  UserDeviceTexts texts = Texts();
  SaveSlot(texts, settings_.userDevices[slot]);
  slots_->setItemText(slot, FromStd(settings_.userDevices[slot].name));
  applied_ = true;
}

// Dialog 141 for unsaved edits of the current slot.
void UserDevicesDialog::AskToSave() {
  if (saved_) return;
  const auto answer = Ask(this, "This device entry has been modified.\n\nDo you want to save the changes?",
                          "Warning!", QMessageBox::Yes | QMessageBox::No);
  if (answer == QMessageBox::Yes) SaveInto(current_);
}

void UserDevicesDialog::ApplySlot() {
  SaveInto(current_);
  slots_->setCurrentIndex(current_);
  apply_->setEnabled(false);
  saved_ = true;
  slots_->setFocus();
}

void UserDevicesDialog::DeleteSlot() {
  ClearSlot(settings_.userDevices[current_]);
  LoadSlot(current_);
  slots_->setItemText(current_, FromStd(settings_.userDevices[current_].name));
  applied_ = true;
}

void UserDevicesDialog::SlotChosen(int slot) {
  AskToSave();
  current_ = RememberedSlot() = slot;
  LoadSlot(current_);
}

void UserDevicesDialog::reject() {
  AskToSave();
  host_.rebuildChannels(true);
  host_.writeSettings();
  if (applied_) host_.settingsChanged();
  host_.redraw();
  QDialog::reject();
}

}  // namespace vantor::ui
