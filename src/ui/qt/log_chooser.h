#pragma once
// The open-file chooser of the Analysis display: data logs first, then all files.

#include <string>

class QWidget;

namespace vantor::ui {

// The chosen path, or empty when cancelled.
std::string ChooseDataLog(QWidget* parent, const std::string& title, const std::string& directory,
                          const std::string& name);

}  // namespace vantor::ui
