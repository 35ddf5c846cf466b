#include "ui/qt/malf_codes_window.h"

namespace vantor::ui {

MalfCodesWindow::MalfCodesWindow(const ToolWindowLinks& links)
    : ToolWindow(links, "Malfunction Codes", kMalfWidth, kMalfHeight) {
  Surface().SetPainter([this](Canvas& canvas) { face_.Paint(canvas); });
}

void MalfCodesWindow::OnFrame(const std::uint8_t* data, bool) {
  DrawScope scope(Surface());
  face_.Update(scope.canvas(), data);
}

}  // namespace vantor::ui
