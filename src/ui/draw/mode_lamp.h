#pragma once
// The gauge display's mode lamps and the service lamp: one bit of the frame
// each, drawn only when their state changes (and all of them after a repaint).

#include <array>
#include <cstdint>

#include "ui/canvas.h"

namespace vantor::ui {

struct ModeLamp {
  const char* label;
  int offset;
  std::uint8_t mask;
  bool invert;
  int x, y;
  int litColourIndex;
  int width = 13, height = 9;
  int state = 0;
  int lastDrawn = -1;  // -1: never drawn since the face
};

using LampTable = std::array<ModeLamp, 28>;  // 27 mode lamps, then "SES"
constexpr int kServiceLamp = 27;
LampTable MakeLampTable();

Rgb LampColour(const ModeLamp& lamp, int state);
int LampState(const ModeLamp& lamp, const std::uint8_t* frame);
// Outline and label; forgets what was drawn so the next DrawLamps fills it.
void DrawLampFace(Canvas& canvas, ModeLamp& lamp);
// Fills the lamps whose state differs from what was last drawn.
void DrawLamps(Canvas& canvas, LampTable& lamps);

}  // namespace vantor::ui
