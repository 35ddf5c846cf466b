#include "ui/draw/headless_tool_window.h"

namespace vantor::ui {

std::optional<ToolWindowKind> ToolWindowByName(const std::string& name) {
  if (name == "malf") return ToolWindowKind::MalfCodes;
  if (name == "banksel") return ToolWindowKind::BankSelect;
  return std::nullopt;
}

HeadlessToolWindow::HeadlessToolWindow(HeadlessDisplay& display, ToolWindowKind kind)
    : display_(display),
      kind_(kind),
      canvas_(kind == ToolWindowKind::MalfCodes ? kMalfWidth : kBankWidth,
              kind == ToolWindowKind::MalfCodes ? kMalfHeight : kBankHeight) {
  if (kind_ == ToolWindowKind::MalfCodes) {
    malf_.Paint(canvas_);
    display_.Loop().SetMalfunctionCodes(this);
  } else {
    banks_.Paint(canvas_, display_.Live().activeBank.load());
    display_.Loop().SetBankSelect(this);
  }
}

HeadlessToolWindow::~HeadlessToolWindow() {
  if (kind_ == ToolWindowKind::MalfCodes)
    display_.Loop().SetMalfunctionCodes(nullptr);
  else
    display_.Loop().SetBankSelect(nullptr);
}

void HeadlessToolWindow::OnFrame(const std::uint8_t* data, bool) { malf_.Update(canvas_, data); }

void HeadlessToolWindow::ShowActiveBank(int bank) { banks_.ShowBank(canvas_, bank); }

}  // namespace vantor::ui
