#include "ui/window/info_boxes.h"

namespace vantor::ui {

TextBoxSpec AboutBox() {
  return TextBoxSpec{"About Vantor", 420, 190,
                     {{110, 40, "VantorFlash"},
                      {110, 64, "Live data, data logs, VE learn and flashing"},
                      {110, 84, "for the ORV KDM-9 engine control module."},
                      {110, 116, "Version 1.0"}}};
}

TextBoxSpec UpdateAboutBox() {
  return TextBoxSpec{"About ORV_KDM9Update", 480, 170,
                     {{110, 40, "ORV KDM-9 Update"},
                      {110, 64, "Version 1.1a"},
                      {110, 96, "Keep the key on and the engine off while it updates."}}};
}

TextBoxSpec HelpBox() {
  return TextBoxSpec{"Help", 520, 260,
                     {{180, 70, "Hi, welcome to the Vantor Display"},
                      {100, 180, "This program is for use with the Corvane KDM-9 System."}}};
}

}  // namespace vantor::ui
