#pragma once
// The VE learn display's controls: the "Display" group with "Orig", "New"
// and "Corectns" choosing the table shown, and "Clear Data". Present while
// the display is shown; keys they receive go through keyFilter.

#include <QObject>

#include <functional>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QWidget;

namespace vantor::ui {

class VeLearnDisplay;

class VeLearnControls final : public QObject {
  Q_OBJECT
 public:
  // repaint: invalidate and erase the whole window, the keys back to it;
  // clearData: VE learn's Reset with the display thread held off, then the
  // repaint.
  VeLearnControls(VeLearnDisplay& display, QObject* keyFilter, std::function<void()> repaint,
                  std::function<void()> clearData);
  ~VeLearnControls() override;

  void Create(QWidget* parent);
  void Remove();
  bool Present() const { return group_ != nullptr; }
  QPushButton* ClearButton() const { return clear_; }

 private:
  VeLearnDisplay& display_;
  QObject* keyFilter_;
  std::function<void()> repaint_;
  std::function<void()> clearData_;
  QGroupBox* group_ = nullptr;
  QButtonGroup* choice_ = nullptr;
  QPushButton* clear_ = nullptr;
};

}  // namespace vantor::ui
