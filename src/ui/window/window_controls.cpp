#include "ui/window/window_controls.h"

namespace vantor::ui {

ControlSpec Control(int id, ControlKind kind, std::string text, int x, int y, int width, int height, unsigned style) {
  ControlSpec spec;
  spec.id = id;
  spec.kind = kind;
  spec.text = std::move(text);
  spec.rect = Rect{x, y, x + width, y + height};
  spec.style = style;
  return spec;
}

ControlColours WindowColours(bool fill) { return ControlColours{colour::kText, colour::kBackground, fill, {}}; }

ControlColours LightText() { return ControlColours{colour::kText, {}, false, {}}; }

void PlaceWindow(WindowHost& window, const Host& host, int x, int y) {
  if (x != -1) {
    window.Move(Point{x, y});
  } else {
    const Point desk = host.DesktopSize();
    window.Move(Point{desk.x / 2 - 400, desk.y / 2 - 300});
  }
}

void CreateControls(WindowHost& window, std::span<const ControlSpec> controls) {
  for (const ControlSpec& spec : controls) window.CreateControl(spec);
}

void DestroyControls(WindowHost& window, std::span<const ControlSpec> controls) {
  for (const ControlSpec& spec : controls) window.DestroyControl(spec.id);
}

}  // namespace vantor::ui
