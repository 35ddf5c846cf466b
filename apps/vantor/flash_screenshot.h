#pragma once
// The Flash display's pane for vantor screenshot.

#include "cal/message_pane.h"
#include "settings/settings.h"

namespace vantor::cli {

// Programs (and verifies) bank [FLSHBANK] of a simulated ECM with its own
// calibration, reporting into pane; false when the job failed.
bool RunSimProgramJob(MessagePane& pane, const Settings& settings);

}  // namespace vantor::cli
