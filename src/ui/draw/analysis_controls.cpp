#include "ui/draw/analysis_controls.h"

namespace vantor::ui {

int NextControlIndex(int current, bool backwards) {
  const int count = static_cast<int>(kAnalysisControls.size());
  return ((current + (backwards ? -1 : 1)) % count + count) % count;
}

}  // namespace vantor::ui
