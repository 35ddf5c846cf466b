#pragma once
// Text laid out on a fixed character pitch: every character starts at
// x + i x pitch whatever the font's own advance, and the row's cells are
// filled with the background first. Tables whose columns must line up with
// fixed cell boxes (the knock map) are drawn this way.

#include <string_view>

#include "ui/canvas.h"

namespace vantor::ui {

// style.align is ignored (left-aligned); style.opaque fills the cells first.
void PitchText(Canvas& canvas, int x, int y, std::string_view text, int pitch, const TextStyle& style);

}  // namespace vantor::ui
