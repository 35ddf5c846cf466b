#pragma once
// Control lists: built on a window in their order and taken down again.

#include <span>
#include <string>

#include "ui/window/window_host.h"

namespace vantor::ui {

// A control at (x, y) of width by height.
ControlSpec Control(int id, ControlKind kind, std::string text, int x, int y, int width, int height,
                    unsigned style = 0);
// The window's static texts: light on its dark background, filling their place when fill.
ControlColours WindowColours(bool fill);
// Light text on whatever lies under the control.
ControlColours LightText();

// An 800 x 600 window at (x, y), or centred on the desktop when x is -1.
void PlaceWindow(WindowHost& window, const Host& host, int x, int y);

void CreateControls(WindowHost& window, std::span<const ControlSpec> controls);
void DestroyControls(WindowHost& window, std::span<const ControlSpec> controls);

}  // namespace vantor::ui
