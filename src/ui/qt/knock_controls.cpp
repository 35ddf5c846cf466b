#include "ui/qt/knock_controls.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "ui/draw/knock_display.h"
#include "ui/qt/display_buttons.h"

namespace vantor::ui {

KnockControls::KnockControls(KnockDisplay& knock, SuspendedWork whileSuspended, std::function<void()> repaint,
                             QObject* keyFilter)
    : knock_(knock), whileSuspended_(std::move(whileSuspended)), repaint_(std::move(repaint)), keyFilter_(keyFilter) {}

KnockControls::~KnockControls() { Remove(); }

void KnockControls::Create(QWidget* parent) {
  if (group_) return;
  CreateStatistics(parent);
  clear_ = new QPushButton("Clear Data", parent);
  connect(clear_, &QPushButton::clicked, this, [this] {
    whileSuspended_([this] { knock_.ClearData(); });
    repaint_();
  });
  PlaceButton(clear_, 670, 250, 80, 30, keyFilter_);
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
      repaint_();
    });
    PlaceButton(radio, 670, 100 + 30 * i, 80, 30, keyFilter_);
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
    repaint_();
  });
  PlaceButton(standard_, 169, 81, 82, 20, keyFilter_);
  boost_ = new QPushButton("Boost", parent);
  boost_->setFlat(true);
  UseWindowColours(boost_);
  connect(boost_, &QPushButton::clicked, this, [this] {
    knock_.SelectGrid(KnockGrid::Boost);
    standard_->setChecked(false);
    repaint_();
  });
  PlaceButton(boost_, 259, 81, 82, 20, keyFilter_);
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
