#include "ui/qt/log_chooser.h"

#include <QFileDialog>

#include "ui/qt/file_chooser.h"

namespace vantor::ui {
namespace {

constexpr const char* kDataLogFilter = "DataLogs (*.dat)";

}  // namespace

std::string ChooseDataLog(QWidget* parent, const std::string& title, const std::string& directory,
                          const std::string& name, const std::string& defaultSuffix) {
  QFileDialog dialog(parent, QString::fromStdString(title), StartPath(directory, name));
  OfferTypeAndAll(dialog, kDataLogFilter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (!defaultSuffix.empty()) dialog.setDefaultSuffix(QString::fromStdString(defaultSuffix));
  return RunFileChooser(dialog);
}

std::string ChooseDataLogToWrite(QWidget* parent, const std::string& title, const std::string& directory,
                                 const std::string& name) {
  QFileDialog dialog(parent, QString::fromStdString(title), StartPath(directory, name));
  OfferTypeAndAll(dialog, kDataLogFilter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix("dat");
  return RunFileChooser(dialog);
}

}  // namespace vantor::ui
