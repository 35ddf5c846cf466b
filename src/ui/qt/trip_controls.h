#pragma once
// The trip display's "Clear Data" button, present while the display is shown.

#include <QObject>

#include <functional>

class QPushButton;
class QWidget;

namespace vantor::ui {

class TripDisplay;

class TripControls final : public QObject {
  Q_OBJECT
 public:
  // whileSuspended runs its work with the display thread held off the display's state.
  using SuspendedWork = std::function<void(const std::function<void()>& work)>;
  TripControls(TripDisplay& trip, SuspendedWork whileSuspended, std::function<void()> repaint, QObject* keyFilter);
  ~TripControls() override;

  void Create(QWidget* parent);
  void Remove();
  bool Exists() const { return clear_ != nullptr; }

 private:
  TripDisplay& trip_;
  SuspendedWork whileSuspended_;
  std::function<void()> repaint_;
  QObject* keyFilter_;
  QPushButton* clear_ = nullptr;
};

}  // namespace vantor::ui
