#pragma once
// The modal "Preferences" dialog: the "General Setup" and "ADC Channels"
// pages (one exists at a time; leaving a page applies it), with OK, Cancel
// and Apply. OK and Apply write the configuration; closing rebuilds the
// active channels and, when the scales or channels changed, tells the
// Analysis display to rebuild its table.

#include <QDialog>

#include "settings/settings.h"
#include "ui/qt/dialog_units.h"
#include "ui/qt/settings_dialog_host.h"

class QPushButton;
class QTabBar;

namespace vantor::ui {

class SettingsPage;

class PreferencesDialog final : public QDialog {
  Q_OBJECT
 public:
  PreferencesDialog(Settings& settings, SettingsDialogHost host, QWidget* parent = nullptr);

  QTabBar* Tabs() const { return tabs_; }
  SettingsPage* Page() const { return page_; }
  QPushButton* ApplyButton() const { return apply_; }

 public slots:
  void accept() override;  // OK
  void reject() override;  // Cancel, Escape, the close box

 private:
  QPushButton* Button(const QString& text, int x);
  void ShowPage(int index);
  void ApplyShownPage();
  void Apply();
  void Finish();

  Settings& settings_;
  SettingsDialogHost host_;
  DialogUnits units_;
  QTabBar* tabs_;
  QRect pageArea_;
  SettingsPage* page_ = nullptr;
  QPushButton* apply_ = nullptr;
  bool changed_ = false;
};

}  // namespace vantor::ui
