// The main window's VE learn display, the Learn VE flow and the floating
// Malfunction Codes and Bank Select windows.

#include <QApplication>

#include "ui/draw/menu_commands.h"
#include "ui/qt/client_view.h"
#include "ui/qt/main_window.h"

namespace vantor::ui {

void MainWindow::BuildVeLearn() {
  veDisplay_ = std::make_unique<VeLearnDisplay>(parts_.veLearn, liveView_, panel_, view_->Surface());
  painter_->SetBody(DisplayMode::VeLearn, veDisplay_.get());
  parts_.session.Loop().SetConsumer(ConsumerSlot::VeLearn, veDisplay_.get());
  veControls_ = std::make_unique<VeLearnControls>(
      *veDisplay_, this, [this] { RepaintWithKeyboard(); }, [this] { ClearVeLearnData(); });

  LearnVeLinks links;
  links.parent = this;
  links.secondsTick = [this] { return parts_.state.Tick(); };
  links.dialogOpen = [this](bool open) { fileDialogOpen_ = open; };
  links.message = [this](const QString& text, const QString& caption) { ShowMessage(text, caption); };
  learnFlow_ = std::make_unique<LearnVeFlow>(parts_.settings, parts_.veLearn, std::move(links));
  learnFlow_->SetMenuItems(items_[cmd::kLearnVe], items_[cmd::kStopLearnVe]);
  parts_.hooks.veRedraw = [this] { veDisplay_->Redraw(); };
  parts_.hooks.learnChanged = [this] {
    learnFlow_->ShowState();
    InvalidateAll();
  };

  ToolWindowLinks toolLinks;
  toolLinks.mainWindow = this;
  toolLinks.modalOpen = [this] { return fileDialogOpen_ || QApplication::activeModalWidget() != nullptr; };
  toolLinks.passKey = [this](QKeyEvent* event) { return HandleKey(event); };
  toolLinks.focusMainWindow = [this] { FocusMainWindow(); };
  tools_ = std::make_unique<ToolWindows>(parts_.settings, parts_.session.Loop(), parts_.link, parts_.session.Live(),
                                         std::move(toolLinks));
}

// The display thread is held off the tables while they are emptied.
void MainWindow::ClearVeLearnData() {
  Suspend();
  parts_.veLearn.Reset();
  Resume();
  RepaintWithKeyboard();
}

void MainWindow::FocusMainWindow() {
  activateWindow();
  view_->setFocus();
}

}  // namespace vantor::ui
