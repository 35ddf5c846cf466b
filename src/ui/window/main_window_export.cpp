// File > "Export Log for Viewer...": a data log written as the tab-separated
// text the common log viewers read, by the writer `vantor dump --msl` uses,
// with a progress bar while it runs.

#include <filesystem>

#include "logs/msl_export.h"
#include "ui/window/file_filters.h"
#include "ui/window/main_window.h"

namespace vantor::ui {
namespace {

const FileFilter kViewerLogFilter{"Viewer Logs (*.msl)", "*.msl"};

}  // namespace

void MainWindow::ExportLogForViewer() {
  const std::string log = ChooseLog("Select Data Log to Export for a Viewer", parts_.settings.analysisPath,
                                    parts_.settings.analysisName, "dat", false);
  if (log.empty()) return;
  const std::filesystem::path proposed(MslOutputPath(log));
  fileDialogOpen_ = true;
  const auto output = host_.ChooseFile(
      FileChooserSpec{"Export Log for Viewer", proposed.parent_path().string(), proposed.filename().string(),
                      TypeAndAll(kViewerLogFilter), "msl", true},
      window_.get());
  fileDialogOpen_ = false;
  if (!output) return;

  ExportHooks hooks;
  hooks.message = [this](const std::string& text, const std::string& caption) { ShowMessage(text, caption); };
  hooks.progress.begin = [this](int maximum) {
    window_->CreateControl(ControlSpec{kExportProgress, ControlKind::ProgressBar, "", Rect{612, 30, 785, 39}, 0, 0, {}, {}});
    window_->SetRange(kExportProgress, 0, maximum, 1);
  };
  hooks.progress.step = [this] { window_->SetValue(kExportProgress, window_->Value(kExportProgress) + 1); };
  hooks.progress.end = [this] { window_->DestroyControl(kExportProgress); };
  if (ExportMsl(log, *output, parts_.settings, "VantorFlash", hooks) == ExportResult::kOk)
    ShowMessage("The viewer log is written:\n\n" + *output, "Export Log for Viewer");
  TakeKeyboard();
}

}  // namespace vantor::ui
