#pragma once
// The "General Setup" page: learn input and CTS limits (shown in the chosen
// temperature scale), smoothing, display update rate, playback rate, the
// alert, pause and trip switches, gear indicator, scales and gauge ranges.

#include "ui/qt/settings_page.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace vantor::ui {

class DialogUnits;

class GeneralPage final : public SettingsPage {
  Q_OBJECT
 public:
  GeneralPage(Settings& settings, const DialogUnits& units, QWidget* parent);
  void ApplyTo(Settings& settings, bool* changed) const override;

 private:
  QLabel* Caption(const QString& text, int x, int y, int width);
  QLineEdit* NumberEdit(const char* name, int value, int x, int y, int width);
  QButtonGroup* RadioPair(const QString& first, const QString& second, int x, int y, int checked);
  QCheckBox* Enable(bool checked, int x, int y);
  void BuildLearnGroup(const Settings& settings);
  void BuildRateGroups(const Settings& settings);
  void BuildOptions(const Settings& settings);
  void ShowScale(int scale);
  void AutoUpdateToggled(bool checked);

  const DialogUnits& units_;
  Settings& stored_;  // read, and [AUTOVSHOW] written by the warning
  QButtonGroup* learnInput_ = nullptr;
  QLineEdit* minCts_ = nullptr;
  QLineEdit* maxCts_ = nullptr;
  QLabel* minUnit_ = nullptr;
  QLabel* maxUnit_ = nullptr;
  QLineEdit* smoothing_ = nullptr;
  QCheckBox* autoUpdate_ = nullptr;
  QComboBox* updateRate_ = nullptr;
  QSlider* playbackRate_ = nullptr;
  QCheckBox* knockAlert_ = nullptr;
  QCheckBox* enterPause_ = nullptr;
  QCheckBox* saveTrip_ = nullptr;
  QButtonGroup* gear_ = nullptr;
  QButtonGroup* scale_ = nullptr;
  QButtonGroup* speedUnit_ = nullptr;
  QLineEdit* maxSpeed_ = nullptr;
  QLineEdit* maxTach_ = nullptr;
  QLineEdit* redline_ = nullptr;
  int shownScale_ = 1;  // the scale the CTS edits hold: 1 C, 0 F
};

}  // namespace vantor::ui
