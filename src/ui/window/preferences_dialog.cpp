#include "ui/window/preferences_dialog.h"

#include "ui/window/window_controls.h"

namespace vantor::ui {
namespace {

constexpr int kGeneralTab = 0;
constexpr int kAdcTab = 1;

DialogSpec PreferencesSpec() {
  using namespace control_style;
  DialogSpec spec{"Preferences", 385, 201, {}};
  ControlSpec tabs = Control(PreferencesDialog::kTabs, ControlKind::Tab, "", 6, 6, 373, 170);
  tabs.items = {"General Setup", "ADC Channels"};
  spec.controls.push_back(std::move(tabs));
  spec.controls.push_back(Control(PreferencesDialog::kOk, ControlKind::Button, "OK", 212, 181, 50, 14, kDefault));
  spec.controls.push_back(Control(PreferencesDialog::kCancel, ControlKind::Button, "Cancel", 268, 181, 50, 14));
  spec.controls.push_back(Control(PreferencesDialog::kApply, ControlKind::Button, "Apply", 324, 181, 50, 14));
  return spec;
}

}  // namespace

PreferencesDialog::PreferencesDialog(Settings& settings, SettingsDialogHost links, Host& host)
    : settings_(settings), links_(std::move(links)), host_(host) {}

void PreferencesDialog::Run(WindowHost* owner) {
  host_.RunDialog(PreferencesSpec(), *this, [this](WindowHost& dialog) {
    dialog_ = &dialog;
    ShowPage(kGeneralTab);
  }, owner);
  dialog_ = nullptr;
  page_.reset();
}

// The page sits over the tab control, 14 and 34 pixels in, 6 and 28 smaller.
void PreferencesDialog::ShowPage(int index) {
  if (index == kAdcTab)
    page_ = std::make_unique<AdcPage>(settings_);
  else
    page_ = std::make_unique<GeneralPage>(settings_, host_);
  dialog_->ShowPage(kTabs, Point{14, 34}, Point{6, 28}, page_->Controls());
  page_->Opened(*dialog_);
  dialog_->SetEnabled(kApply, false);
}

void PreferencesDialog::ApplyShownPage() { page_->ApplyTo(*dialog_, settings_, &changed_); }

void PreferencesDialog::OnControl(const ControlEvent& event) {
  if (event.id == kTabs && event.action == ControlAction::Changed) {
    ApplyShownPage();  // the page being left; the file is not written
    ShowPage(event.value);
    return;
  }
  if (event.action == ControlAction::Clicked) {
    switch (event.id) {
      case kOk:
        ApplyShownPage();
        links_.writeSettings();
        Finish();
        dialog_->Close();
        return;
      case kCancel:
        Finish();
        dialog_->Close();
        return;
      case kApply: Apply(); return;
      default: break;
    }
  }
  if (page_ && page_->Handle(*dialog_, event)) dialog_->SetEnabled(kApply, true);
}

// Escape and the close box: as Cancel.
bool PreferencesDialog::OnCloseRequest() {
  Finish();
  return true;
}

void PreferencesDialog::Apply() {
  dialog_->SetEnabled(kApply, false);
  ApplyShownPage();
  links_.writeSettings();
  links_.rebuildChannels(false);
  if (links_.applied) links_.applied();
  links_.redraw();
}

// Values of a page applied by a tab switch stay, even after Cancel.
void PreferencesDialog::Finish() {
  links_.rebuildChannels(false);
  if (links_.applied) links_.applied();
  if (changed_) links_.settingsChanged();
  links_.redraw();
}

}  // namespace vantor::ui
