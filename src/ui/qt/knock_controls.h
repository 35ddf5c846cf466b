#pragma once
// The spark knock display's controls, present while the display is shown:
// the "Display" group of statistic radio buttons, "Clear Data", and the
// "Standard" and "Boost" buttons over the panel's tabs.

#include <QObject>

#include <array>
#include <functional>

class QGroupBox;
class QPushButton;
class QRadioButton;
class QWidget;

namespace vantor::ui {

class KnockDisplay;

class KnockControls final : public QObject {
  Q_OBJECT
 public:
  using SuspendedWork = std::function<void(const std::function<void()>& work)>;
  KnockControls(KnockDisplay& knock, SuspendedWork whileSuspended, std::function<void()> repaint,
                QObject* keyFilter);
  ~KnockControls() override;

  void Create(QWidget* parent);
  void Remove();
  bool Exists() const { return group_ != nullptr; }

 private:
  void CreateStatistics(QWidget* parent);
  void CreateGridButtons(QWidget* parent);

  KnockDisplay& knock_;
  SuspendedWork whileSuspended_;
  std::function<void()> repaint_;
  QObject* keyFilter_;
  QGroupBox* group_ = nullptr;
  std::array<QRadioButton*, 4> statistics_{};
  QPushButton* clear_ = nullptr;
  QPushButton* standard_ = nullptr;
  QPushButton* boost_ = nullptr;
};

}  // namespace vantor::ui
