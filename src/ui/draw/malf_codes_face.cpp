#include "ui/draw/malf_codes_face.h"

namespace vantor::ui {
namespace {

constexpr Rgb kLampOn{255, 153, 0};
constexpr Rgb kLampOff{0, 0, 0};
constexpr int kColumnX[3] = {80, 100, 120};
// Column 1 reads bytes 18-20, column 2 bytes 21-23, column 3 bytes 224-226.
constexpr int kGroupStart[3] = {18, 21, 224};

struct Code {
  const char* label;
  int byteInGroup;
  std::uint8_t mask;
};

constexpr Code kCodes[kMalfCodes] = {
    {"DRP    12", 0, 0x80}, {"O2     13", 0, 0x40}, {"CTS HI 14", 0, 0x20}, {"CTS LO 15", 0, 0x10},
    {"TPS HI 21", 0, 0x08}, {"TPS LO 22", 0, 0x04}, {"IAT LO 23", 0, 0x02}, {"VSS    24", 0, 0x01},
    {"IAT HI 25", 1, 0x80}, {"MAP2   31", 1, 0x40}, {"MAP HI 33", 1, 0x10}, {"MAP LO 34", 1, 0x08},
    {"CAM SN 41", 1, 0x02}, {"EST    42", 1, 0x01}, {"ESC    43", 2, 0x80}, {"O2 LN  44", 2, 0x40},
    {"O2 RH  45", 2, 0x20}, {"PROM   51", 2, 0x10}, {"OIL LO 52", 2, 0x08}, {"OVR VT 53", 2, 0x04},
    {"FP RLY 54", 2, 0x02}, {"OIL HI 62", 2, 0x01},
};

std::array<MalfLamp, kMalfLamps> BuildTable() {
  std::array<MalfLamp, kMalfLamps> table{};
  for (int code = 0; code < kMalfCodes; ++code)
    for (int column = 0; column < 3; ++column) {
      const Code& c = kCodes[code];
      table[code * 3 + column] = MalfLamp{column == 0 ? c.label : "", kGroupStart[column] + c.byteInGroup, c.mask,
                                          false, kColumnX[column], 10 + 15 * code};
    }
  return table;
}

Rect LampRect(const MalfLamp& lamp) { return Rect{lamp.x, lamp.y, lamp.x + 13, lamp.y + 9}; }

}  // namespace

const std::array<MalfLamp, kMalfLamps>& MalfLampTable() {
  static const std::array<MalfLamp, kMalfLamps> table = BuildTable();
  return table;
}

bool LampState(const MalfLamp& lamp, const std::uint8_t* frame) {
  return ((frame[lamp.byte] & lamp.mask) != 0) != lamp.invert;
}

void MalfCodesFace::Paint(Canvas& canvas) const {
  canvas.FillRect(Rect{0, 0, kMalfWidth, kMalfHeight}, colour::kBackground);
  TextStyle label;
  label.font = FontId::Small;
  const auto& table = MalfLampTable();
  for (int i = 0; i < kMalfLamps; ++i) {
    const MalfLamp& lamp = table[i];
    canvas.FrameRect(Rect{lamp.x - 1, lamp.y - 1, lamp.x + 13, lamp.y + 9}, Pen{colour::kDim, 1});
    if (lamp.label[0] != '\0') canvas.Text(10, lamp.y - 2, lamp.label, label);
    canvas.FillRect(LampRect(lamp), drawn_[i] == 1 ? kLampOn : kLampOff);
  }
}

int MalfCodesFace::Update(Canvas& canvas, const std::uint8_t* frame) {
  const auto& table = MalfLampTable();
  int refilled = 0;
  for (int i = 0; i < kMalfLamps; ++i) {
    const int state = LampState(table[i], frame) ? 1 : 0;
    if (state == drawn_[i]) continue;
    drawn_[i] = state;
    canvas.FillRect(LampRect(table[i]), state ? kLampOn : kLampOff);
    ++refilled;
  }
  return refilled;
}

}  // namespace vantor::ui
