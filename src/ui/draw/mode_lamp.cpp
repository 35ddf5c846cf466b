#include "ui/draw/mode_lamp.h"

#include <algorithm>

namespace vantor::ui {
namespace {

ModeLamp Lamp(const char* label, int offset, std::uint8_t mask, bool invert, int x, int y, int colour) {
  return ModeLamp{label, offset, mask, invert, x, y, colour};
}

constexpr Rgb kUnlit{0, 0, 0};
constexpr Rgb kServiceUnlit{80, 10, 10};

}  // namespace

LampTable MakeLampTable() {
  LampTable lamps{{
      Lamp("Running", 1, 0x80, false, 220, 40, 0),  Lamp("ClsdThrt", 3, 0x08, false, 220, 58, 0),
      Lamp("Idle", 2, 0x80, false, 220, 76, 0),     Lamp("Valet", 252, 0x80, false, 220, 94, 0),
      Lamp("ClsdLp", 14, 0x80, false, 296, 40, 0),  Lamp("BLM Ln", 14, 0x02, false, 296, 58, 0),
      Lamp("LeanCr", 3, 0x04, false, 296, 76, 0),   Lamp("CCP", 6, 0x01, false, 296, 94, 0),
      Lamp("AE", 13, 0x40, false, 372, 40, 0),      Lamp("DE", 13, 0x10, false, 372, 58, 0),
      Lamp("DFCO", 8, 0x08, false, 372, 76, 0),     Lamp("EGR", 180, 0x80, false, 372, 94, 0),
      Lamp("PE", 13, 0x80, false, 448, 40, 3),      Lamp("Async", 13, 0x20, false, 448, 58, 0),
      Lamp("Launch", 6, 0x04, false, 448, 76, 0),   Lamp("BlowOff", 2, 0x40, false, 448, 94, 0),
      Lamp("TCC", 5, 0x80, false, 524, 40, 0),      Lamp("Shift", 5, 0x10, false, 524, 58, 0),
      Lamp("N2O", 6, 0x08, false, 524, 76, 0),      Lamp("AIR Pt", 149, 0x10, false, 524, 94, 0),
      Lamp("FuelCut", 6, 0x80, true, 600, 40, 0),   Lamp("A/C Rq", 15, 0x08, false, 600, 58, 4),
      Lamp("A/C Cmd", 5, 0x08, false, 600, 76, 2),  Lamp("AIR Cv", 149, 0x20, false, 600, 94, 0),
      Lamp("Fan1", 140, 0x01, false, 676, 40, 0),   Lamp("Fan2", 140, 0x02, false, 676, 58, 0),
      Lamp("A/C On", 213, 0x80, false, 676, 76, 0), Lamp("SES", 11, 0x01, false, 394, 266, 1),
  }};
  lamps[kServiceLamp].width = 25;
  lamps[kServiceLamp].height = 17;
  return lamps;
}

Rgb LampColour(const ModeLamp& lamp, int state) {
  static constexpr Rgb kLit[] = {{10, 160, 5}, {245, 20, 20}, {20, 10, 225}, {255, 255, 30}, {255, 153, 0}};
  if (state) return kLit[std::clamp(lamp.litColourIndex, 0, 4)];
  return lamp.width == 25 ? kServiceUnlit : kUnlit;
}

int LampState(const ModeLamp& lamp, const std::uint8_t* frame) {
  const bool set = (frame[lamp.offset] & lamp.mask) != 0;
  return set != lamp.invert ? 1 : 0;
}

void DrawLampFace(Canvas& canvas, ModeLamp& lamp) {
  const int x = lamp.x, y = lamp.y;
  canvas.FrameRect(Rect{x - 1, y - 1, x + lamp.width, y + lamp.height}, Pen{colour::kDim, 1});
  TextStyle style;
  style.align = Align::Right;
  if (lamp.width == 25)
    canvas.Text(x + 25, y - 20, lamp.label, style);
  else
    canvas.Text(x - 4, y - 4, lamp.label, style);
  lamp.lastDrawn = -1;
}

void DrawLamps(Canvas& canvas, LampTable& lamps) {
  for (ModeLamp& lamp : lamps) {
    if (lamp.state == lamp.lastDrawn) continue;
    canvas.FillRect(Rect{lamp.x, lamp.y, lamp.x + lamp.width, lamp.y + lamp.height}, LampColour(lamp, lamp.state));
    lamp.lastDrawn = lamp.state;
  }
}

}  // namespace vantor::ui
