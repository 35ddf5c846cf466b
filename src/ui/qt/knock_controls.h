#pragma once
// The spark knock display's controls, present while the display is shown:
// the "Display" group of statistic radio buttons, "Clear Data", and the
// "Standard" and "Boost" buttons over the panel's tabs.

#include <QObject>

#include <array>

#include "ui/draw/knock_map.h"
#include "ui/qt/display_buttons.h"

class QAbstractButton;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QString;
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
  QAbstractButton* CreateTabButton(QWidget* parent, const QString& text, KnockGrid grid, int x);

  KnockDisplay& knock_;
  DisplayControlHooks hooks_;
  QGroupBox* group_ = nullptr;
  std::array<QRadioButton*, 4> statistics_{};
  QPushButton* clear_ = nullptr;
  QAbstractButton* standard_ = nullptr;
  QAbstractButton* boost_ = nullptr;
};

}  // namespace vantor::ui
