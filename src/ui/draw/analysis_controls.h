#pragma once
// The Analysis display's controls in their next-control order, with their
// texts and places; the window creates them from this table and the
// headless renderer draws their faces from it.

#include <array>

#include "ui/canvas.h"

namespace vantor::ui {

enum class AnalysisControlKind { Button, CheckBox, VerticalScrollBar };
enum class AnalysisControl { ViewLog, DumpLog, SingleHeader, CreateCsv, QuarterMile, FindMark, ScrollBar };

struct AnalysisControlSpec {
  AnalysisControl id;
  AnalysisControlKind kind;
  const char* text;
  Rect rect;
};

inline constexpr std::array<AnalysisControlSpec, 7> kAnalysisControls{{
    {AnalysisControl::ViewLog, AnalysisControlKind::Button, "View Log", {45, 30, 125, 60}},
    {AnalysisControl::DumpLog, AnalysisControlKind::Button, "Dump Log", {155, 30, 235, 60}},
    {AnalysisControl::SingleHeader, AnalysisControlKind::CheckBox, "Single Header", {243, 30, 363, 48}},
    {AnalysisControl::CreateCsv, AnalysisControlKind::CheckBox, "Create .csv", {243, 46, 363, 64}},
    {AnalysisControl::QuarterMile, AnalysisControlKind::Button, "1/4 Mile", {485, 30, 565, 60}},
    {AnalysisControl::FindMark, AnalysisControlKind::Button, "Find Mark", {595, 30, 675, 60}},
    {AnalysisControl::ScrollBar, AnalysisControlKind::VerticalScrollBar, "", {774, 104, 792, 547}},
}};

// The check boxes' labels are static texts of the window: its text colour on
// its background. The window's check boxes and the screenshot's faces both
// take their colours from here, so a picture shows what the window shows.
struct LabelColours {
  Rgb text, background;
};
inline constexpr LabelColours kCheckBoxLabel{colour::kText, colour::kBackground};

// The control a next-control request moves the focus to: the following one
// in the table's order, or the one before it with backwards; both wrap.
int NextControlIndex(int current, bool backwards);

}  // namespace vantor::ui
