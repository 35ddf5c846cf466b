#include "ui/qt/preferences_dialog.h"

#include <QComboBox>
#include <QFrame>
#include <QPushButton>
#include <QTabBar>

#include "ui/qt/adc_page.h"
#include "ui/qt/general_page.h"

namespace vantor::ui {
namespace {

constexpr int kGeneralTab = 0;
constexpr int kAdcTab = 1;

}  // namespace

PreferencesDialog::PreferencesDialog(Settings& settings, SettingsDialogHost host, QWidget* parent)
    : QDialog(parent), settings_(settings), host_(std::move(host)), units_(DialogFont()), tabs_(new QTabBar(this)) {
  setWindowTitle("Preferences");
  setFont(DialogFont());
  setFixedSize(units_.X(385), units_.Y(201));

  const QRect tabArea = units_.Rect(6, 6, 373, 170);
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setGeometry(tabArea.adjusted(0, units_.Y(12), 0, 0));
  tabs_->addTab("General Setup");
  tabs_->addTab("ADC Channels");
  tabs_->setGeometry(tabArea.x(), tabArea.y(), tabArea.width(), units_.Y(12));
  pageArea_ = QRect(14, 34, tabArea.width() - 6, tabArea.height() - 28);

  QPushButton* ok = Button("OK", 212);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(Button("Cancel", 268), &QPushButton::clicked, this, &QDialog::reject);
  apply_ = Button("Apply", 324);
  connect(apply_, &QPushButton::clicked, this, &PreferencesDialog::Apply);

  ShowPage(kGeneralTab);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
    ApplyShownPage();  // the page being left; the file is not written
    ShowPage(index);
  });
}

QPushButton* PreferencesDialog::Button(const QString& text, int x) {
  auto* button = new QPushButton(text, this);
  button->setAutoDefault(false);
  units_.Place(button, x, 181, 50, 14);
  return button;
}

void PreferencesDialog::ShowPage(int index) {
  delete page_;
  if (index == kAdcTab)
    page_ = new AdcPage(settings_, units_, this);
  else
    page_ = new GeneralPage(settings_, units_, this);
  page_->setGeometry(pageArea_);
  connect(page_, &SettingsPage::Edited, this, [this] { apply_->setEnabled(true); });
  page_->show();
  apply_->setEnabled(false);
  if (index == kAdcTab) static_cast<AdcPage*>(page_)->DeviceBox(0)->setFocus();
}

void PreferencesDialog::ApplyShownPage() { page_->ApplyTo(settings_, &changed_); }

void PreferencesDialog::Apply() {
  apply_->setEnabled(false);
  ApplyShownPage();
  host_.writeSettings();
  host_.rebuildChannels(false);
  if (host_.applied) host_.applied();
  host_.redraw();
}

void PreferencesDialog::accept() {
  ApplyShownPage();
  host_.writeSettings();
  Finish();
  QDialog::accept();
}

void PreferencesDialog::reject() {
  Finish();
  QDialog::reject();
}

// Values of a page applied by a tab switch stay, even after Cancel.
void PreferencesDialog::Finish() {
  host_.rebuildChannels(false);
  if (host_.applied) host_.applied();
  if (changed_) host_.settingsChanged();
  host_.redraw();
}

}  // namespace vantor::ui
