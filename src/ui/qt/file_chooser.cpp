#include "ui/qt/file_chooser.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>

namespace vantor::ui {

// The list is filtered by "*" while the chooser shows "All (*.*)"; without
// the chooser's type list, "All (*)" is shown, which lists every file too.
void OfferTypeAndAll(QFileDialog& dialog, const QString& typeFilter) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilters({typeFilter, "All (*)"});
  if (auto* types = dialog.findChild<QComboBox*>("fileTypeCombo"); types && types->count() == 2)
    types->setItemText(1, kAllFilesFilter);
}

std::string RunFileChooser(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first().toStdString();
}

QString StartPath(const std::string& directory, const std::string& name) {
  const QString dir = directory.empty() ? QDir::currentPath() : QString::fromStdString(directory);
  return QDir(dir).filePath(QString::fromStdString(name));
}

}  // namespace vantor::ui
