#include "ui/qt/knock_controls.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "ui/draw/knock_display.h"
#include "ui/qt/display_buttons.h"

namespace vantor::ui {
namespace {

// A button over a tab the display paints: it draws nothing itself, so the
// painted tab with its text and its open edge shows which grid is shown.
class TabButton final : public QAbstractButton {
 public:
  TabButton(const QString& text, QWidget* parent) : QAbstractButton(parent) { setText(text); }

 protected:
  void paintEvent(QPaintEvent*) override {}
};

}  // namespace

void KnockControls::Create(QWidget* parent) {
  if (group_) return;
  CreateStatistics(parent);
  clear_ = CreateClearButton(parent, 670, 250, hooks_, [this] { knock_.ClearData(); });
  CreateGridButtons(parent);
}

// The group box sits on the window; the radio buttons are the window's
// children too, so their positions are the window's.
void KnockControls::CreateStatistics(QWidget* parent) {
  group_ = new QGroupBox("Display", parent);
  group_->setGeometry(650, 80, 120, 150);
  UseWindowColours(group_);
  group_->show();
  static constexpr const char* kNames[] = {"Average", "Peak", "Total", "Counts"};
  for (int i = 0; i < 4; ++i) {
    QRadioButton* radio = new QRadioButton(kNames[i], parent);
    UseWindowColours(radio);
    radio->setAutoFillBackground(false);
    radio->setChecked(static_cast<int>(knock_.Statistic()) == i);
    connect(radio, &QRadioButton::clicked, this, [this, i] {
      knock_.SelectStatistic(static_cast<KnockStatistic>(i));
      hooks_.repaint();
    });
    PlaceButton(radio, 670, 100 + 30 * i, 80, 30, hooks_.keyFilter);
    statistics_[static_cast<std::size_t>(i)] = radio;
  }
}

QAbstractButton* KnockControls::CreateTabButton(QWidget* parent, const QString& text, KnockGrid grid, int x) {
  auto* button = new TabButton(text, parent);
  connect(button, &QAbstractButton::clicked, this, [this, grid] {
    knock_.SelectGrid(grid);
    hooks_.repaint();
  });
  PlaceButton(button, x, 81, 82, 20, hooks_.keyFilter);
  return button;
}

void KnockControls::CreateGridButtons(QWidget* parent) {
  standard_ = CreateTabButton(parent, "Standard", KnockGrid::Standard, 169);
  boost_ = CreateTabButton(parent, "Boost", KnockGrid::Boost, 259);
}

void KnockControls::Remove() {
  for (QRadioButton*& radio : statistics_) {
    delete radio;
    radio = nullptr;
  }
  delete group_;
  delete clear_;
  delete standard_;
  delete boost_;
  group_ = nullptr;
  clear_ = nullptr;
  standard_ = boost_ = nullptr;
}

}  // namespace vantor::ui
