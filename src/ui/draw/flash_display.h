#pragma once
// The Flash display's own drawing: its picture and title, the message pane
// and the two file names, the one of the current action bright, the other
// grey. The form's controls are the window's; this paints what lies under them.

#include <string>

#include "cal/message_pane.h"
#include "settings/settings.h"
#include "ui/canvas.h"
#include "ui/draw/display_painter.h"

namespace vantor::ui {

constexpr int kFileNameShown = 40;  // characters of a file name shown
constexpr Rgb kFileNameOther{130, 130, 130};

// Program file name (at y 157) and read file name (at y 209), blanked first.
void DrawFlashFileNames(Canvas& canvas, const Settings& settings);

class FlashDisplay final : public DisplayBody {
 public:
  FlashDisplay(const Settings& settings, const MessagePane& pane) : settings_(settings), pane_(pane) {}
  void Paint(Canvas& canvas) override;
  // The pane alone, after a line was added.
  void PaintPane(Canvas& canvas) const;

 private:
  const Settings& settings_;
  const MessagePane& pane_;
};

}  // namespace vantor::ui
