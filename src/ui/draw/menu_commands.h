#pragma once
// The main window's command ids (menu items and accelerators).

#include <array>
#include <optional>

#include "live/frame_consumer.h"

namespace vantor::ui {

namespace cmd {
constexpr int kAbout = 104;
constexpr int kExit = 105;
constexpr int kDataLog = 32771;
constexpr int kCloseDataLog = 32772;
constexpr int kHelp = 32774;
constexpr int kVantor = 32782;
constexpr int kTripInfo = 32783;
constexpr int kVeLearn = 32784;
constexpr int kPlayback = 32785;
constexpr int kStopPlayback = 32786;
constexpr int kPreferences = 32787;
constexpr int kLearnVe = 32791;
constexpr int kStopLearnVe = 32792;
constexpr int kSpkKnock = 32795;
constexpr int kMalfCodes = 32806;
constexpr int kAnalysis = 32808;
constexpr int kVtd = 32810;
constexpr int kTripQuick = 32811;
constexpr int kVeQuick = 32812;
constexpr int kSpkQuick = 32813;
constexpr int kBankSelect = 32819;
constexpr int kFlash = 32821;
constexpr int kDiagnostic = 32824;
constexpr int kDiagQuick = 32825;
constexpr int kUserDevices = 32826;
}  // namespace cmd

// "COM1" ... "COM40" in menu order.
const std::array<int, 40>& ComPortCommands();
std::optional<int> ComPortNumber(int command);

// The display a command selects, if it selects one.
std::optional<DisplayMode> DisplayOfCommand(int command);
// The nine Display menu items: id and text.
struct MenuItemText {
  int id;
  const char* text;
};
const std::array<MenuItemText, 9>& DisplayMenuItems();
// The menu item grayed while a live display is shown (its Display menu item)
// and its quick selection twin.
int MenuItemOf(DisplayMode mode);
// Keys "1" to "5".
std::optional<int> QuickKeyCommand(char key);

}  // namespace vantor::ui
