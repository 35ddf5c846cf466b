#pragma once
// The data log choosers: data logs first, then all files.

#include <string>

class QWidget;

namespace vantor::ui {

// A log to read (Analysis, playback); defaultSuffix completes a typed name
// without one (empty: none). The chosen path, or empty when cancelled.
std::string ChooseDataLog(QWidget* parent, const std::string& title, const std::string& directory,
                          const std::string& name, const std::string& defaultSuffix = {});
// A log to record into; an existing one is appended to, so nothing is asked.
std::string ChooseDataLogToWrite(QWidget* parent, const std::string& title, const std::string& directory,
                                 const std::string& name);

}  // namespace vantor::ui
