#include "ui/window/display_controls.h"

#include <algorithm>

#include "ui/draw/knock_display.h"
#include "ui/draw/trip_display.h"
#include "ui/draw/ve_learn_display.h"
#include "ui/window/window_controls.h"

namespace vantor::ui {
namespace {

using namespace control_style;

constexpr int kTripClear = 110;
constexpr int kKnockGroup = 120, kKnockFirstStatistic = 121, kKnockClear = 125, kKnockStandard = 126,
              kKnockBoost = 127;
constexpr int kVeGroup = 130, kVeFirstTable = 131, kVeClear = 134;

constexpr const char* kStatistics[] = {"Average", "Peak", "Total", "Counts"};
constexpr const char* kVeTables[] = {"Orig", "New", "Corectns"};

ControlSpec Coloured(ControlSpec spec, ControlColours colours) {
  spec.colours = colours;
  return spec;
}

}  // namespace

DisplayControls::DisplayControls(WindowHost& window, TripDisplay& trip, KnockDisplay& knock, VeLearnDisplay& ve,
                                 DisplayControlLinks links)
    : window_(window), trip_(trip), knock_(knock), ve_(ve), links_(std::move(links)) {}

std::vector<ControlSpec> DisplayControls::Row(Controls row) const {
  std::vector<ControlSpec> specs;
  if (row == Controls::Trip) {
    specs.push_back(Control(kTripClear, ControlKind::Button, "Clear Data", 705, 74, 80, 30, kClickFocus));
  } else if (row == Controls::Knock) {
    specs.push_back(Coloured(Control(kKnockGroup, ControlKind::GroupBox, "Display", 650, 80, 120, 150),
                             WindowColours(true)));
    for (int i = 0; i < 4; ++i) {
      const unsigned style = kClickFocus | (i == 0 ? kGroupStart : 0u);
      specs.push_back(Coloured(
          Control(kKnockFirstStatistic + i, ControlKind::RadioButton, kStatistics[i], 670, 100 + 30 * i, 80, 30, style),
          WindowColours(false)));
    }
    specs.push_back(Control(kKnockClear, ControlKind::Button, "Clear Data", 670, 250, 80, 30, kClickFocus));
    specs.push_back(
        Control(kKnockStandard, ControlKind::Button, "Standard", 169, 81, 82, 20, kDrawnByWindow | kClickFocus));
    specs.push_back(Control(kKnockBoost, ControlKind::Button, "Boost", 259, 81, 82, 20, kDrawnByWindow | kClickFocus));
  } else if (row == Controls::VeLearn) {
    specs.push_back(Coloured(Control(kVeGroup, ControlKind::GroupBox, "Display", 675, 80, 105, 120), LightText()));
    for (int i = 0; i < 3; ++i)
      specs.push_back(Coloured(Control(kVeFirstTable + i, ControlKind::RadioButton, kVeTables[i], 685, 100 + 30 * i, 80,
                                       30, i == 0 ? kGroupStart : 0u),
                               LightText()));
    specs.push_back(Control(kVeClear, ControlKind::Button, "Clear Data", 686, 220, 80, 30));
  }
  return specs;
}

void DisplayControls::Create(Controls row) {
  if (row != Controls::Trip && row != Controls::Knock && row != Controls::VeLearn) return;
  if (std::find(shown_.begin(), shown_.end(), row) != shown_.end()) return;
  const std::vector<ControlSpec> specs = Row(row);
  CreateControls(window_, specs);
  if (row == Controls::Knock) window_.SetChecked(kKnockFirstStatistic + static_cast<int>(knock_.Statistic()), true);
  if (row == Controls::VeLearn) window_.SetChecked(kVeFirstTable + static_cast<int>(ve_.Shown()), true);
  shown_.push_back(row);
}

void DisplayControls::Remove(Controls row) {
  const auto at = std::find(shown_.begin(), shown_.end(), row);
  if (at == shown_.end()) return;
  DestroyControls(window_, Row(row));
  shown_.erase(at);
}

void DisplayControls::ClearThenRepaint(const std::function<void()>& clear) {
  links_.whileSuspended(clear);
  links_.repaint();
}

bool DisplayControls::Handle(const ControlEvent& event) {
  if (event.action != ControlAction::Clicked) return event.id >= kTripClear && event.id <= kVeClear;
  const int id = event.id;
  if (id == kTripClear) {
    ClearThenRepaint([this] { trip_.ClearData(); });
  } else if (id >= kKnockFirstStatistic && id < kKnockFirstStatistic + 4) {
    knock_.SelectStatistic(static_cast<KnockStatistic>(id - kKnockFirstStatistic));
    links_.repaint();
  } else if (id == kKnockClear) {
    ClearThenRepaint([this] { knock_.ClearData(); });
  } else if (id == kKnockStandard || id == kKnockBoost) {
    knock_.SelectGrid(id == kKnockBoost ? KnockGrid::Boost : KnockGrid::Standard);
    links_.repaint();
  } else if (id >= kVeFirstTable && id < kVeFirstTable + 3) {
    ve_.SetShown(static_cast<VeTableShown>(id - kVeFirstTable));
    links_.repaint();
  } else if (id == kVeClear) {
    ClearThenRepaint(links_.resetVeLearn);
  } else {
    return false;
  }
  return true;
}

}  // namespace vantor::ui
