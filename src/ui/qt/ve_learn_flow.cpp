#include "ui/qt/ve_learn_flow.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>

#include <filesystem>
#include <system_error>

#include "cal/ve_file.h"
#include "platform/same_file.h"
#include "settings/settings.h"
#include "ui/qt/file_chooser.h"
#include "velearn/new_bin_name.h"
#include "velearn/ve_learn.h"

namespace vantor::ui {
namespace {

namespace fs = std::filesystem;

// Clears the dialog-open flag at every way out.
class DialogScope {
 public:
  explicit DialogScope(const std::function<void(bool)>& flag) : flag_(flag) {
    if (flag_) flag_(true);
  }
  ~DialogScope() {
    if (flag_) flag_(false);
  }
  DialogScope(const DialogScope&) = delete;
  DialogScope& operator=(const DialogScope&) = delete;

 private:
  const std::function<void(bool)>& flag_;
};

}  // namespace

LearnVeFlow::LearnVeFlow(Settings& settings, VeLearn& learn, LearnVeLinks links)
    : settings_(settings), learn_(learn), links_(std::move(links)) {}

void LearnVeFlow::SetMenuItems(QAction* start, QAction* stop) {
  start_ = start;
  stop_ = stop;
  ShowState();
}

void LearnVeFlow::ShowState() {
  const bool active = learn_.Active();
  everStarted_ = everStarted_ || active;
  if (start_) start_->setEnabled(!active);
  if (stop_) {
    stop_->setEnabled(active);
    stop_->setText(everStarted_ ? "St&op VeLearn" : "St&op Learn VE");
  }
}

void LearnVeFlow::Start() {
  if (learn_.Active()) return;
  DialogScope dialog(links_.dialogOpen);
  std::string source, newBin;
  std::uint16_t generation = 0;
  if (!ChooseSource(&source, &generation)) return;
  if (!ChooseNewBin(source, generation, &newBin)) return;
  learn_.Start(source, newBin, links_.secondsTick ? links_.secondsTick() : 0);
}

bool LearnVeFlow::ChooseSource(std::string* path, std::uint16_t* generation) {
  QFileDialog dialog(links_.parent, "Select BIN to Learn From", StartPath(settings_.newVePath, settings_.newVeName),
                     "BIN (*.bin)");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setDefaultSuffix("bin");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  *path = dialog.selectedFiles().first().toStdString();
  const SignatureCheck check = CheckSignature(*path, BinReader::MainProgram);
  if (check.status == SignatureStatus::CannotOpen) {
    links_.message(kCannotOpenBin, kFileOpenErrorCaption);
    return false;
  }
  if (check.status == SignatureStatus::NotABin) {
    links_.message(QString::fromStdString(check.text), QString::fromStdString(check.caption));
    return false;
  }
  *generation = check.generation;
  return true;
}

bool LearnVeFlow::ChooseNewBin(const std::string& source, std::uint16_t generation, std::string* path) {
  const fs::path sourcePath(source);
  QString proposal = QString::fromStdString(
      (sourcePath.parent_path() / ProposeNewBinName(sourcePath.filename().string(), generation)).string());
  for (;;) {
    QFileDialog dialog(links_.parent, "Select File to Create New BIN", proposal, "BIN (*.bin)");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // asked below, after the name is completed
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.selectFile(proposal);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    *path = NormalizeNewBinName(dialog.selectedFiles().first().toStdString());
    proposal = QString::fromStdString(*path);
    const Answer answer = CheckNewBin(source, *path);
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::Use) break;
  }
  const fs::path chosen(*path);
  settings_.newVe = *path;
  settings_.newVeName = chosen.filename().string();
  settings_.newVePath = (chosen.parent_path() / "").string();
  return true;
}

// The source is the table learned from: the new BIN replacing it would lose it.
LearnVeFlow::Answer LearnVeFlow::CheckNewBin(const std::string& source, const std::string& path) {
  if (IsSameFile(source, path)) {
    links_.message("The new BIN can not be the BIN learned from", "Select File to Create New BIN");
    return Answer::Again;
  }
  std::error_code error;
  if (!fs::exists(path, error)) return Answer::Use;
  QMessageBox box(QMessageBox::Information, "File Exists", "BIN File Exists, Overwrite?",
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, links_.parent);
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Use;
    case QMessageBox::No: return Answer::Again;
    default: return Answer::Cancel;
  }
}

void LearnVeFlow::Stop() { learn_.Stop(); }

void LearnVeFlow::FinishAtExit() {
  if (!learn_.SaveAtExit()) links_.message(kVeWriteError, kVeWriteErrorCaption);
}

}  // namespace vantor::ui
