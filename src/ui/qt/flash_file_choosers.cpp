// The Flash window's two file choosers: the BIN to program (signature
// tested) and the file a bank is read into (asking before overwriting).

#include <QFileDialog>

#include <filesystem>

#include "cal/ve_file.h"
#include "logs/remembered_path.h"
#include "ui/qt/client_view.h"
#include "ui/qt/file_chooser.h"
#include "ui/qt/flash_window.h"
#include "ui/qt/message_boxes.h"

namespace vantor::ui {
namespace {

constexpr const char* kBinFilter = "BIN (*.bin)";

}  // namespace

void FlashWindow::ChooseProgramFile() {
  Settings& settings = settings_;
  QFileDialog dialog(&view_, "Select BIN file to Flash to ORV", StartPath(settings.flshBinPath, settings.flshBinFile));
  OfferTypeAndAll(dialog, kBinFilter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const std::string path = RunFileChooser(dialog);
  if (path.empty()) return;
  const SignatureCheck check = CheckSignature(path);
  if (check.status == SignatureStatus::CannotOpen) {
    ShowInfoBox(&view_, kCannotOpenBin, kFileOpenErrorCaption);
    return;
  }
  if (check.status == SignatureStatus::NotABin) {
    ShowInfoBox(&view_, QString::fromStdString(check.text), QString::fromStdString(check.caption));
    return;
  }
  const RememberedPath chosen = SplitRememberedPath(path);
  settings.flshBin = chosen.full;
  settings.flshBinFile = chosen.name;
  settings.flshBinPath = chosen.directory;
  ShowAction();
}

void FlashWindow::ChooseReadFile() {
  Settings& settings = settings_;
  for (;;) {
    QFileDialog dialog(&view_, "Select/Create File to Save ORV BIN to",
                       StartPath(settings.readBinPath, settings.readBinFile));
    OfferTypeAndAll(dialog, kBinFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // asked below, with Yes / No / Cancel
    dialog.setDefaultSuffix("bin");
    const std::string path = RunFileChooser(dialog);
    if (path.empty()) return;
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
      const auto answer = Ask(&view_, "BIN File Exists, Overwrite?", "File Exists",
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      if (answer == QMessageBox::No) continue;
      if (answer != QMessageBox::Yes) return;
    }
    const RememberedPath chosen = SplitRememberedPath(path);
    settings.readBin = chosen.full;
    settings.readBinFile = chosen.name;
    settings.readBinPath = chosen.directory;
    ShowAction();
    return;
  }
}

}  // namespace vantor::ui
