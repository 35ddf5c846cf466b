#pragma once
// The Malfunction Codes window's face: a grid of 22 codes with three lamps
// each, read from three groups of status bytes of the frame. Only lamps whose
// state changed are refilled on a frame.

#include <array>
#include <cstdint>

#include "ui/canvas.h"

namespace vantor::ui {

constexpr int kMalfWidth = 150;  // client size of the window
constexpr int kMalfHeight = 374;
constexpr int kMalfCodes = 22;
constexpr int kMalfLamps = 3 * kMalfCodes;

struct MalfLamp {
  const char* label;  // empty for the second and third lamp of a code
  int byte;           // frame byte
  std::uint8_t mask;
  bool invert;
  int x, y;
};

const std::array<MalfLamp, kMalfLamps>& MalfLampTable();
bool LampState(const MalfLamp& lamp, const std::uint8_t* frame);

class MalfCodesFace {
 public:
  MalfCodesFace() { drawn_.fill(-1); }
  // Every lamp with its outline and label, in the states last drawn.
  void Paint(Canvas& canvas) const;
  // Refills the lamps whose state the frame changed; the number refilled.
  int Update(Canvas& canvas, const std::uint8_t* frame);

 private:
  std::array<int, kMalfLamps> drawn_;  // -1 = never drawn
};

}  // namespace vantor::ui
