// The Flash window's two file choosers: the BIN to program (signature
// tested) and the file a bank is read into (asking before overwriting).

#include <filesystem>

#include "cal/ve_file.h"
#include "link/file_open_caption.h"
#include "logs/remembered_path.h"
#include "ui/window/file_filters.h"
#include "ui/window/flash_window.h"

namespace vantor::ui {

void FlashWindow::ChooseProgramFile() {
  Settings& settings = settings_;
  FileChooserSpec chooser{"Select BIN file to Flash to ORV", settings.flshBinPath, settings.flshBinFile,
                          TypeAndAll(kBinFilter), "", false};
  const auto path = host_.ChooseFile(chooser, &window_);
  if (!path) return;
  const SignatureCheck check = CheckSignature(*path);
  if (check.status == SignatureStatus::CannotOpen) {
    Message(kCannotOpenBin, kFileOpenErrorCaption);
    return;
  }
  if (check.status == SignatureStatus::NotABin) {
    Message(check.text, check.caption);
    return;
  }
  const RememberedPath chosen = SplitRememberedPath(*path);
  settings.flshBin = chosen.full;
  settings.flshBinFile = chosen.name;
  settings.flshBinPath = chosen.directory;
  ShowAction();
}

void FlashWindow::ChooseReadFile() {
  Settings& settings = settings_;
  for (;;) {
    FileChooserSpec chooser{"Select/Create File to Save ORV BIN to", settings.readBinPath, settings.readBinFile,
                            TypeAndAll(kBinFilter), "bin", true};
    const auto path = host_.ChooseFile(chooser, &window_);
    if (!path) return;
    std::error_code error;
    if (std::filesystem::exists(*path, error)) {
      const BoxAnswer answer = host_.ShowMessage(
          MessageSpec{"BIN File Exists, Overwrite?", "File Exists", BoxIcon::Question, BoxButtons::YesNoCancel}, &window_);
      if (answer == BoxAnswer::No) continue;
      if (answer != BoxAnswer::Yes) return;
    }
    const RememberedPath chosen = SplitRememberedPath(*path);
    settings.readBin = chosen.full;
    settings.readBinFile = chosen.name;
    settings.readBinPath = chosen.directory;
    ShowAction();
    return;
  }
}

}  // namespace vantor::ui
