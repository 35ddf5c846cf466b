#pragma once
// The modal "User Device" dialog: the sixteen user device slots, edited one
// at a time. Number edits drop what they do not take as it is typed (with a
// beep) and are checked when left; Apply and Delete change the slot; leaving
// a slot with unsaved edits asks first. Close rebuilds the device list and
// the channels and writes the configuration.

#include <QDialog>

#include "settings/settings.h"
#include "settings/user_device_rules.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/settings_dialog_host.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vantor::ui {

class UserDevicesDialog final : public QDialog {
  Q_OBJECT
 public:
  UserDevicesDialog(Settings& settings, SettingsDialogHost host, QWidget* parent = nullptr);

  // The slot shown when the dialog opens again (0 at program start).
  static int& RememberedSlot();

  QComboBox* SlotList() const { return slots_; }
  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* UnitEdit() const { return unit_; }
  QLineEdit* VoltsEdit(int point) const { return point == 0 ? voltsJ_ : voltsK_; }
  QLineEdit* ReadingEdit(int point) const { return point == 0 ? readingJ_ : readingK_; }
  QLineEdit* PlacesEdit() const { return places_; }
  QPushButton* ApplyButton() const { return apply_; }
  QPushButton* DeleteButton() const { return delete_; }
  QPushButton* CloseButton() const { return close_; }

 public slots:
  void reject() override;  // Close, Escape, the close box

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Build();
  QLineEdit* Edit(int maxLength, int x, int y, int width);
  void LoadSlot(int slot);
  UserDeviceTexts Texts() const;
  void ShowUnit(const QString& unit);
  void Modified();
  void FilterTyped(QLineEdit* edit, bool signedDecimal);
  void CheckLeft(QLineEdit* edit);
  void SaveInto(int slot);
  void AskToSave();
  void ApplySlot();
  void DeleteSlot();
  void SlotChosen(int slot);
  void Beep();

  Settings& settings_;
  SettingsDialogHost host_;
  DialogUnits units_;
  QComboBox* slots_ = nullptr;
  QLineEdit* name_ = nullptr;
  QLineEdit* unit_ = nullptr;
  QLineEdit* voltsJ_ = nullptr;
  QLineEdit* readingJ_ = nullptr;
  QLineEdit* voltsK_ = nullptr;
  QLineEdit* readingK_ = nullptr;
  QLineEdit* places_ = nullptr;
  QLabel* voltsForJ_ = nullptr;
  QLabel* voltsForK_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* delete_ = nullptr;
  QPushButton* close_ = nullptr;
  int current_ = 0;
  bool saved_ = true;     // no unsaved edits
  bool applied_ = false;  // something was applied or deleted during this opening
};

}  // namespace vantor::ui
