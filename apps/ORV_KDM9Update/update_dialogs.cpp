#include "update_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

#include "ui/qt/file_chooser.h"
#include "ui/qt/info_boxes.h"

namespace vantor::update_app {
namespace {

void ShowBox(QWidget* owner, const std::string& text, const std::string& caption, BoxIcon icon) {
  QMessageBox box(icon == BoxIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
                  QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::Ok, owner);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  box.exec();
}

std::optional<std::string> ChooseBinFile(QWidget* owner, const std::string& directory) {
  QFileDialog dialog(owner, "Select BIN file to update", ui::StartPath(directory, ""));
  ui::OfferTypeAndAll(dialog, "BIN (*.bin)");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const std::string chosen = ui::RunFileChooser(dialog);
  if (chosen.empty()) return std::nullopt;
  return chosen;
}

}  // namespace

UpdateDialogs QtUpdateDialogs(QWidget* owner) {
  UpdateDialogs dialogs;
  dialogs.showBox = [owner](const std::string& text, const std::string& caption, BoxIcon icon) {
    ShowBox(owner, text, caption, icon);
  };
  dialogs.chooseBinFile = [owner](const std::string& directory) { return ChooseBinFile(owner, directory); };
  dialogs.showAbout = [owner] { ui::ShowUpdateAboutBox(owner); };
  return dialogs;
}

}  // namespace vantor::update_app
