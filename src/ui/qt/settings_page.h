#pragma once
// A page of the Preferences dialog: built from Settings, copied back into
// them when applied; tells the dialog when the user changed something.

#include <QWidget>

#include "settings/settings.h"

namespace vantor::ui {

class SettingsPage : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  // Copies the page into settings; sets *changed when a change means the
  // Analysis display must rebuild its table.
  virtual void ApplyTo(Settings& settings, bool* changed) const = 0;

 signals:
  void Edited();
};

}  // namespace vantor::ui
