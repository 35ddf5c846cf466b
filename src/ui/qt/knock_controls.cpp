#include "ui/qt/knock_controls.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "ui/draw/knock_display.h"
#include "ui/qt/display_buttons.h"

namespace vantor::ui {

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

// Flat buttons in the window's colours over the panel's painted tabs.
void KnockControls::CreateGridButtons(QWidget* parent) {
  standard_ = new QPushButton("Standard", parent);
  standard_->setFlat(true);
  UseWindowColours(standard_);
  standard_->setCheckable(true);
  standard_->setChecked(knock_.GridShown() == KnockGrid::Standard);
  connect(standard_, &QPushButton::clicked, this, [this] {
    knock_.SelectGrid(KnockGrid::Standard);
    standard_->setChecked(true);
    hooks_.repaint();
  });
  PlaceButton(standard_, 169, 81, 82, 20, hooks_.keyFilter);
  boost_ = new QPushButton("Boost", parent);
  boost_->setFlat(true);
  UseWindowColours(boost_);
  connect(boost_, &QPushButton::clicked, this, [this] {
    knock_.SelectGrid(KnockGrid::Boost);
    standard_->setChecked(false);
    hooks_.repaint();
  });
  PlaceButton(boost_, 259, 81, 82, 20, hooks_.keyFilter);
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
  clear_ = standard_ = boost_ = nullptr;
}

}  // namespace vantor::ui
