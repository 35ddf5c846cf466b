#pragma once
// Draws a message pane as a window shows it. Both programs' windows use it
// for their flash work: the Flash display and the update utility.

#include "cal/message_pane.h"
#include "ui/canvas.h"

namespace vantor::ui {

Rgb ToCanvasRgb(vantor::Rgb colour);

// Every row of the pane at its style's position: the stored lines, then cleared
// rows, each inside the pane's rectangle. Reads the lines under the pane's own
// lock, so a job's thread may add lines meanwhile; the stored lines are never
// changed by a repaint.
void PaintPane(Canvas& canvas, const MessagePane& pane, FontId font);

}  // namespace vantor::ui
