#pragma once
// The update utility's window face, drawn through the canvas: the light
// background, the title, the introduction (until the first update starts) or
// the message pane (from then on), and the port status line.

#include <array>
#include <string>

#include "cal/message_pane.h"
#include "ui/canvas.h"

namespace vantor::ui {

namespace update_face {
constexpr Rgb kBackground{220, 220, 220};
constexpr Rgb kText{20, 20, 20};
// The utility's four fonts: 14 px Courier New, 17 px bold Courier New (the
// pane), 20 px bold OEM fixed and the 24 px title font.
constexpr FontId kSmallFont = FontId::Small;
constexpr FontId kPaneFont = FontId::MediumBold;
constexpr FontId kOemFont = FontId::Oem;
constexpr FontId kTitleFont = FontId::Title;
constexpr int kStatusY = 72;
}  // namespace update_face

struct UpdateFace {
  bool paneShown = false;  // the update state: 0 introduction, 1 pane
  std::string portName;
  bool portOpen = false;
};

// The introduction's lines, one every 20 pixels from y = 120.
const std::array<const char*, 8>& UpdateIntroduction();

// Everything, as a paint request draws it; the pane from its stored lines.
void PaintUpdateWindow(Canvas& canvas, const MessagePane& pane, const UpdateFace& face);
// The pane alone (a line was added or the pane cleared).
void DrawUpdatePane(Canvas& canvas, const MessagePane& pane);
// "COM2:" and "Open  " or "Closed", right-aligned at y = 72.
void DrawUpdatePortStatus(Canvas& canvas, const std::string& portName, bool open);

}  // namespace vantor::ui
