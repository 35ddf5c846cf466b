#include "ui/qt/general_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

#include "settings/preference_rules.h"
#include "ui/qt/dialog_units.h"

namespace vantor::ui {
namespace {

constexpr int kCelsius = 1;
constexpr int kFahrenheit = 0;

QString ScaleText(int scale) { return scale == kCelsius ? QString::fromUtf8("°C") : QString::fromUtf8("°F"); }

int Number(const QLineEdit* edit) { return edit->text().toInt(); }

// Dialog 133: true when "Check box to skip this warning" was ticked.
bool AutoUpdateWarningSkipped(QWidget* parent) {
  QDialog warning(parent);
  warning.setObjectName("autoUpdateWarning");
  warning.setWindowTitle("Warning!");
  auto* layout = new QVBoxLayout(&warning);
  auto* text = new QLabel(
      "The AutoUpdate option is ONLY to be used with a real time emulation update utility.  "
      "This is a tool such as the EmUtility from TunerPro.",
      &warning);
  text->setWordWrap(true);
  layout->addWidget(text);
  auto* skip = new QCheckBox("Check box to skip this warning", &warning);
  layout->addWidget(skip);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &warning);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &warning, &QDialog::accept);
  layout->addWidget(buttons);
  warning.exec();
  return skip->isChecked();
}

}  // namespace

GeneralPage::GeneralPage(Settings& settings, const DialogUnits& units, QWidget* parent)
    : SettingsPage(parent), units_(units), stored_(settings) {
  BuildLearnGroup(settings);
  BuildRateGroups(settings);
  BuildOptions(settings);
  ShowScale(settings.temperScale == kCelsius ? kCelsius : kFahrenheit);
}

// ---- building ----

QLabel* GeneralPage::Caption(const QString& text, int x, int y, int width) {
  auto* label = new QLabel(text, this);
  units_.Place(label, x, y, width, 10);
  return label;
}

QLineEdit* GeneralPage::NumberEdit(const char* name, int value, int x, int y, int width) {
  auto* edit = new QLineEdit(QString::number(value), this);
  edit->setObjectName(name);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit));
  edit->setMaxLength(5);
  units_.Place(edit, x, y, width, 12);
  connect(edit, &QLineEdit::textEdited, this, &SettingsPage::Edited);
  return edit;
}

// Two radio buttons; the first stands for firstValue, the second for 1 - firstValue.
QButtonGroup* GeneralPage::RadioPair(const QString& first, const QString& second, int x, int y, int checked) {
  auto* group = new QButtonGroup(this);
  const int firstValue = (first == "BLM" || first == "Stick") ? 0 : 1;
  int offset = 0;
  for (const QString& text : {first, second}) {
    auto* radio = new QRadioButton(text, this);
    radio->setObjectName(text);
    units_.Place(radio, x + offset, y, 36, 10);
    group->addButton(radio, offset == 0 ? firstValue : 1 - firstValue);
    offset += 40;
  }
  if (QAbstractButton* button = group->button(checked)) button->setChecked(true);
  connect(group, &QButtonGroup::idClicked, this, [this, checked](int id) {
    if (id != checked) emit Edited();
  });
  return group;
}

QCheckBox* GeneralPage::Enable(bool checked, int x, int y) {
  auto* box = new QCheckBox("Enable", this);
  box->setChecked(checked);
  units_.Place(box, x, y, 50, 10);
  connect(box, &QCheckBox::clicked, this, &SettingsPage::Edited);
  return box;
}

void GeneralPage::BuildLearnGroup(const Settings& settings) {
  units_.Place(new QGroupBox("VE Learn", this), 4, 2, 176, 86);
  learnInput_ = RadioPair("BLM", "WB", 12, 14, settings.lrnInp);
  Caption("Minimum CTS:", 12, 30, 64);
  minCts_ = NumberEdit("minCts", settings.lrnLwr, 80, 28, 30);
  minUnit_ = Caption("", 114, 30, 20);
  Caption("Maximum CTS:", 12, 44, 64);
  maxCts_ = NumberEdit("maxCts", settings.lrnUpr, 80, 42, 30);
  maxUnit_ = Caption("", 114, 44, 20);
  Caption("Smoothing Factor:", 12, 58, 64);
  smoothing_ = NumberEdit("smoothing", settings.smoothFac, 80, 56, 30);
  // AutoUpdate: kept for a real-time emulation tool, hidden in this program.
  QWidget* autoCaption = Caption("AutoUpdate:", 12, 72, 44);
  autoUpdate_ = new QCheckBox(this);
  units_.Place(autoUpdate_, 60, 72, 12, 10);
  QLineEdit* interval = NumberEdit("autoInterval", settings.autoVTime, 80, 70, 30);
  QLineEdit* edit1027 = NumberEdit("auto1027", 0, 114, 70, 20);
  QLineEdit* edit1033 = NumberEdit("auto1033", 0, 138, 70, 20);
  for (QWidget* hidden : {autoCaption, static_cast<QWidget*>(autoUpdate_), static_cast<QWidget*>(interval),
                          static_cast<QWidget*>(edit1027), static_cast<QWidget*>(edit1033)})
    hidden->hide();
  autoUpdate_->setObjectName("autoUpdate");
  connect(autoUpdate_, &QCheckBox::toggled, this, &GeneralPage::AutoUpdateToggled);
}

void GeneralPage::BuildRateGroups(const Settings& settings) {
  units_.Place(new QGroupBox("Display Update", this), 4, 90, 176, 28);
  updateRate_ = new QComboBox(this);
  updateRate_->setObjectName("updateRate");
  for (int entry = 0; entry < kUpdateRateEntries; ++entry) updateRate_->addItem(UpdateRateText(entry));
  updateRate_->setCurrentIndex(std::clamp(settings.updateRate, 0, kUpdateRateEntries - 1));
  units_.Place(updateRate_, 12, 101, 110, 12);
  connect(updateRate_, &QComboBox::activated, this, [this](int) { emit Edited(); });

  units_.Place(new QGroupBox("Playback Rate", this), 4, 120, 176, 30);
  Caption("Slow", 10, 134, 20);
  playbackRate_ = new QSlider(Qt::Horizontal, this);
  playbackRate_->setRange(0, 100);
  playbackRate_->setTickInterval(10);
  playbackRate_->setTickPosition(QSlider::TicksBelow);
  playbackRate_->setValue(100 - settings.pbSpd);
  units_.Place(playbackRate_, 30, 131, 120, 14);
  Caption("Fast", 154, 134, 20);
  connect(playbackRate_, &QSlider::valueChanged, this, [this](int) { emit Edited(); });
}

void GeneralPage::BuildOptions(const Settings& settings) {
  constexpr int kLeft = 188, kControl = 284;
  Caption("Knock Alert Sound:", kLeft, 6, 90);
  knockAlert_ = Enable(settings.knockAlert == 1, kControl, 6);
  Caption("ENTER to Pause Datalog:", kLeft, 20, 94);
  enterPause_ = Enable(settings.enterPause == 1, kControl, 20);
  Caption("Save/Reload Trip Data:", kLeft, 34, 94);
  saveTrip_ = Enable(settings.saveTrip == 1, kControl, 34);
  Caption("Gear Indicator:", kLeft, 50, 90);
  gear_ = RadioPair("Stick", "Auto", kControl, 50, settings.transType);
  Caption("Temperature Scales:", kLeft, 64, 90);
  scale_ = RadioPair(ScaleText(kCelsius), ScaleText(kFahrenheit), kControl, 64, settings.temperScale);
  connect(scale_, &QButtonGroup::idClicked, this, &GeneralPage::ShowScale);
  Caption("Speedometer Scale:", kLeft, 78, 90);
  speedUnit_ = RadioPair("KPH", "MPH", kControl, 78, settings.kphOrMph);
  Caption("Max Speedometer:", kLeft, 96, 90);
  maxSpeed_ = NumberEdit("maxSpeed", settings.mphRange, kControl, 94, 36);
  Caption("Max Tachometer:", kLeft, 110, 90);
  maxTach_ = NumberEdit("maxTach", settings.rpmRange, kControl, 108, 36);
  Caption("Tachometer Redline:", kLeft, 124, 90);
  redline_ = NumberEdit("redline", settings.rdln, kControl, 122, 36);
}

// ---- reactions ----

// The CTS limits follow the scale: converted when the other scale is chosen.
void GeneralPage::ShowScale(int scale) {
  if (minUnit_->text().isEmpty()) {
    shownScale_ = scale;
  } else if (scale != shownScale_) {
    const auto convert = scale == kCelsius ? CelsiusFromFahrenheit : FahrenheitFromCelsius;
    for (QLineEdit* edit : {minCts_, maxCts_}) edit->setText(QString::number(convert(Number(edit))));
    shownScale_ = scale;
    emit Edited();
  }
  minUnit_->setText(ScaleText(scale));
  maxUnit_->setText(ScaleText(scale));
}

void GeneralPage::AutoUpdateToggled(bool checked) {
  if (checked && stored_.autoVShow == 1 && AutoUpdateWarningSkipped(this)) stored_.autoVShow = 0;
  emit Edited();
}

void GeneralPage::ApplyTo(Settings& settings, bool* changed) const {
  const int scale = scale_->checkedId() == kCelsius ? kCelsius : kFahrenheit;
  const int speedUnit = speedUnit_->checkedId() == 1 ? 1 : 0;
  if (scale != settings.temperScale || speedUnit != settings.kphOrMph) *changed = true;
  settings.lrnInp = learnInput_->checkedId() == 1 ? 1 : 0;
  settings.lrnLwr = std::clamp(Number(minCts_), 0, kLearnTemperatureMax);
  settings.lrnUpr = std::clamp(Number(maxCts_), 0, kLearnTemperatureMax);
  settings.smoothFac = CorrectSmoothingFactor(Number(smoothing_));
  settings.autoVSave = 0;  // the switch is hidden: it reads as off
  settings.updateRate = updateRate_->currentIndex();
  settings.updateDivisor = 3 - settings.updateRate;
  settings.pbSpd = 100 - playbackRate_->value();
  settings.knockAlert = knockAlert_->isChecked() ? 1 : 0;
  settings.enterPause = enterPause_->isChecked() ? 1 : 0;
  settings.saveTrip = saveTrip_->isChecked() ? 1 : 0;
  settings.transType = gear_->checkedId() == 1 ? 1 : 0;
  settings.temperScale = scale;
  settings.kphOrMph = speedUnit;
  settings.mphRange = CorrectMaxSpeedometer(Number(maxSpeed_));
  settings.rpmRange = CorrectMaxTachometer(Number(maxTach_));
  settings.rdln = CorrectRedline(Number(redline_));
}

}  // namespace vantor::ui
