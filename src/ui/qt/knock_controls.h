#pragma once
// The spark knock display's controls, present while the display is shown:
// the "Display" group of statistic radio buttons, "Clear Data", and the
// "Standard" and "Boost" buttons over the panel's tabs.

#include <QObject>

#include <array>

#include "ui/qt/display_buttons.h"

class QGroupBox;
class QPushButton;
class QRadioButton;
class QWidget;

namespace vantor::ui {

class KnockDisplay;

class KnockControls final : public QObject {
  Q_OBJECT
 public:
  KnockControls(KnockDisplay& knock, DisplayControlHooks hooks) : knock_(knock), hooks_(std::move(hooks)) {}
  ~KnockControls() override { Remove(); }

  void Create(QWidget* parent);
  void Remove();

 private:
  void CreateStatistics(QWidget* parent);
  void CreateGridButtons(QWidget* parent);

  KnockDisplay& knock_;
  DisplayControlHooks hooks_;
  QGroupBox* group_ = nullptr;
  std::array<QRadioButton*, 4> statistics_{};
  QPushButton* clear_ = nullptr;
  QPushButton* standard_ = nullptr;
  QPushButton* boost_ = nullptr;
};

}  // namespace vantor::ui
