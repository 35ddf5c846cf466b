#pragma once
// What the program's file choosers share: Qt's own dialog, the same on every
// platform, whose "All (*.*)" lists every file (names without a dot too: Qt
// matches "*.*" only against names that have one).

#include <string>

class QFileDialog;
class QString;

namespace vantor::ui {

inline constexpr const char* kAllFilesFilter = "All (*.*)";

// The chooser offers typeFilter (for example "DataLogs (*.dat)"), then "All (*.*)".
void OfferTypeAndAll(QFileDialog& dialog, const QString& typeFilter);
// Shows the chooser; the chosen path, or empty when it was cancelled.
std::string RunFileChooser(QFileDialog& dialog);
// Where a chooser starts: name in directory, in the working directory when directory is empty.
QString StartPath(const std::string& directory, const std::string& name);

}  // namespace vantor::ui
