#include "ui/window/learn_ve_flow.h"

#include <filesystem>
#include <system_error>

#include "cal/ve_file.h"
#include "link/file_open_caption.h"
#include "platform/same_file.h"
#include "settings/settings.h"
#include "ui/draw/menu_commands.h"
#include "ui/window/file_filters.h"
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
    : settings_(settings), learn_(learn), links_(std::move(links)) {
  ShowState();
}

void LearnVeFlow::ShowState() {
  const bool active = learn_.Active();
  everStarted_ = everStarted_ || active;
  if (!links_.menu) return;
  links_.menu->SetEnabled(cmd::kLearnVe, !active);
  links_.menu->SetEnabled(cmd::kStopLearnVe, active);
  links_.menu->SetText(cmd::kStopLearnVe, everStarted_ ? "St&op VeLearn" : "St&op Learn VE");
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
  const FileChooserSpec chooser{"Select BIN to Learn From", settings_.newVePath, settings_.newVeName, {kBinFilter},
                                "bin", false};
  const auto chosen = links_.host->ChooseFile(chooser, links_.owner);
  if (!chosen) return false;
  *path = *chosen;
  const SignatureCheck check = CheckSignature(*path, BinReader::MainProgram);
  if (check.status == SignatureStatus::CannotOpen) {
    links_.message(kCannotOpenBin, kFileOpenErrorCaption);
    return false;
  }
  if (check.status == SignatureStatus::NotABin) {
    links_.message(check.text, check.caption);
    return false;
  }
  *generation = check.generation;
  return true;
}

bool LearnVeFlow::ChooseNewBin(const std::string& source, std::uint16_t generation, std::string* path) {
  const fs::path sourcePath(source);
  fs::path proposal = sourcePath.parent_path() / ProposeNewBinName(sourcePath.filename().string(), generation);
  for (;;) {
    const FileChooserSpec chooser{"Select File to Create New BIN", proposal.parent_path().string(),
                                  proposal.filename().string(), {kBinFilter}, "", true};
    const auto chosen = links_.host->ChooseFile(chooser, links_.owner);
    if (!chosen) return false;
    *path = NormalizeNewBinName(*chosen);
    proposal = *path;
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
  const MessageSpec box{"BIN File Exists, Overwrite?", "File Exists", BoxIcon::Information, BoxButtons::YesNoCancel};
  switch (links_.host->ShowMessage(box, links_.owner)) {
    case BoxAnswer::Yes: return Answer::Use;
    case BoxAnswer::No: return Answer::Again;
    default: return Answer::Cancel;
  }
}

void LearnVeFlow::Stop() { learn_.Stop(); }

void LearnVeFlow::FinishAtExit() {
  if (!learn_.SaveAtExit()) links_.message(kVeWriteError, kVeWriteErrorCaption);
}

}  // namespace vantor::ui
