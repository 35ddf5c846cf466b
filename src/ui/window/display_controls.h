#pragma once
// The live displays' own control rows, present while their display is
// shown: the trip display's "Clear Data"; the spark knock map's statistic
// radio buttons, "Clear Data" and the "Standard" and "Boost" buttons over
// its tabs; the VE learn table's "Orig", "New", "Corectns" and "Clear Data".
// A click repaints the whole window and gives it the keys back.

#include <functional>
#include <vector>

#include "ui/draw/display_switcher.h"
#include "ui/window/window_host.h"

namespace vantor::ui {

class KnockDisplay;
class TripDisplay;
class VeLearnDisplay;

struct DisplayControlLinks {
  // Runs the work while the display thread is held between frames.
  std::function<void(const std::function<void()>& work)> whileSuspended;
  // Invalidates the whole window and gives it the keys.
  std::function<void()> repaint;
  // VE learn's Reset (its tables).
  std::function<void()> resetVeLearn;
};

class DisplayControls {
 public:
  DisplayControls(WindowHost& window, TripDisplay& trip, KnockDisplay& knock, VeLearnDisplay& ve,
                  DisplayControlLinks links);

  // Trip, Knock or VeLearn; other kinds are not these controls'.
  void Create(Controls row);
  void Remove(Controls row);
  // True when the notice was one of these controls'.
  bool Handle(const ControlEvent& event);

 private:
  std::vector<ControlSpec> Row(Controls row) const;
  void ClearThenRepaint(const std::function<void()>& clear);

  WindowHost& window_;
  TripDisplay& trip_;
  KnockDisplay& knock_;
  VeLearnDisplay& ve_;
  DisplayControlLinks links_;
  std::vector<Controls> shown_;
};

}  // namespace vantor::ui
