#include "ui/qt/log_chooser.h"

#include <QDir>
#include <QFileDialog>

namespace vantor::ui {

std::string ChooseDataLog(QWidget* parent, const std::string& title, const std::string& directory,
                          const std::string& name) {
  QString dir = QString::fromStdString(directory);
  if (dir.isEmpty()) dir = QDir::currentPath();
  QFileDialog dialog(parent, QString::fromStdString(title), QDir(dir).filePath(QString::fromStdString(name)),
                     "DataLogs (*.dat);;All (*.*)");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first().toStdString();
}

}  // namespace vantor::ui
