#pragma once
// A window program started from a console answers --help, --version and a
// usage error there: the GUI subsystem starts without standard handles.

namespace vantor::ui {

void UseParentConsole();

}  // namespace vantor::ui
