#include "ui/qt/ve_learn_controls.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>

#include "ui/draw/ve_learn_display.h"

namespace vantor::ui {
namespace {

struct Choice {
  const char* text;
  VeTableShown table;
};
constexpr Choice kChoices[] = {
    {"Orig", VeTableShown::Original}, {"New", VeTableShown::Learned}, {"Corectns", VeTableShown::Corrections}};

}  // namespace

VeLearnControls::VeLearnControls(VeLearnDisplay& display, QObject* keyFilter, std::function<void()> repaint,
                                 std::function<void()> clearData)
    : display_(display), keyFilter_(keyFilter), repaint_(std::move(repaint)), clearData_(std::move(clearData)) {}

VeLearnControls::~VeLearnControls() { Remove(); }

// The radio buttons sit in the group box, at the same window positions.
void VeLearnControls::Create(QWidget* parent) {
  if (group_) return;
  group_ = new QGroupBox("Display", parent);
  group_->setGeometry(675, 80, 105, 120);
  QPalette palette = group_->palette();  // static texts: light on the window's dark background
  palette.setColor(QPalette::WindowText, QColor(240, 240, 240));
  group_->setPalette(palette);
  group_->show();
  choice_ = new QButtonGroup(group_);
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(kChoices[i].text, group_);
    radio->setGeometry(685 - 675, 100 + 30 * i - 80, 80, 30);
    radio->setChecked(display_.Shown() == kChoices[i].table);
    radio->installEventFilter(keyFilter_);
    choice_->addButton(radio, i);
    radio->show();
  }
  connect(choice_, &QButtonGroup::idClicked, this, [this](int id) {
    display_.SetShown(kChoices[id].table);
    repaint_();
  });
  clear_ = new QPushButton("Clear Data", parent);
  clear_->setGeometry(686, 220, 80, 30);
  clear_->installEventFilter(keyFilter_);
  connect(clear_, &QPushButton::clicked, this, [this] { clearData_(); });
  clear_->show();
}

void VeLearnControls::Remove() {
  delete group_;  // with its buttons
  delete clear_;
  group_ = nullptr;
  choice_ = nullptr;
  clear_ = nullptr;
}

}  // namespace vantor::ui
