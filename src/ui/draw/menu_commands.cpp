#include "ui/draw/menu_commands.h"

namespace vantor::ui {

const std::array<int, 40>& ComPortCommands() {
  static const std::array<int, 40> ids = [] {
    std::array<int, 40> out{};
    int n = 0;
    for (int id = 32776; id <= 32781; ++id) out[n++] = id;
    for (int id = 32814; id <= 32817; ++id) out[n++] = id;
    for (int id = 32827; id <= 32856; ++id) out[n++] = id;
    return out;
  }();
  return ids;
}

std::optional<int> ComPortNumber(int command) {
  const auto& ids = ComPortCommands();
  for (std::size_t i = 0; i < ids.size(); ++i)
    if (ids[i] == command) return static_cast<int>(i) + 1;
  return std::nullopt;
}

std::optional<DisplayMode> DisplayOfCommand(int command) {
  switch (command) {
    case cmd::kVantor: case cmd::kVtd: return DisplayMode::Gauges;
    case cmd::kTripInfo: case cmd::kTripQuick: return DisplayMode::Trip;
    case cmd::kVeLearn: case cmd::kVeQuick: return DisplayMode::VeLearn;
    case cmd::kSpkKnock: case cmd::kSpkQuick: return DisplayMode::SparkKnock;
    case cmd::kDiagnostic: case cmd::kDiagQuick: return DisplayMode::Diagnostic;
    case cmd::kAnalysis: return DisplayMode::Analysis;
    case cmd::kFlash: return DisplayMode::Flash;
    default: return std::nullopt;
  }
}

const std::array<MenuItemText, 9>& DisplayMenuItems() {
  static constexpr std::array<MenuItemText, 9> items{{
      {cmd::kVantor, "&Vantor"},
      {cmd::kTripInfo, "&Trip Info"},
      {cmd::kVeLearn, "&VE Learn"},
      {cmd::kSpkKnock, "&SPK Knock"},
      {cmd::kMalfCodes, "&Malf Codes"},
      {cmd::kBankSelect, "&Bank Select"},
      {cmd::kFlash, "&Flash"},
      {cmd::kAnalysis, "&Analysis"},
      {cmd::kDiagnostic, "&Diagnostic"},
  }};
  return items;
}

int MenuItemOf(DisplayMode mode) {
  switch (mode) {
    case DisplayMode::Gauges: return cmd::kVantor;
    case DisplayMode::Trip: return cmd::kTripInfo;
    case DisplayMode::VeLearn: return cmd::kVeLearn;
    case DisplayMode::SparkKnock: return cmd::kSpkKnock;
    case DisplayMode::Diagnostic: return cmd::kDiagnostic;
    case DisplayMode::Analysis: return cmd::kAnalysis;
    case DisplayMode::Flash: return cmd::kFlash;
  }
  return cmd::kVantor;
}

std::optional<int> QuickKeyCommand(char key) {
  switch (key) {
    case '1': return cmd::kVantor;
    case '2': return cmd::kTripInfo;
    case '3': return cmd::kVeLearn;
    case '4': return cmd::kSpkKnock;
    case '5': return cmd::kDiagnostic;
    default: return std::nullopt;
  }
}

}  // namespace vantor::ui
