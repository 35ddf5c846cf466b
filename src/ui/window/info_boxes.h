#pragma once
// The About and Help boxes of VantorFlash and the update utility's About box.

#include "ui/window/window_host.h"

namespace vantor::ui {

TextBoxSpec AboutBox();
TextBoxSpec HelpBox();
TextBoxSpec UpdateAboutBox();

}  // namespace vantor::ui
