#pragma once
// The file choosers' type lists: a file type, then "All (*.*)", which lists
// every file.

#include <vector>

#include "ui/window/window_host.h"

namespace vantor::ui {

inline const FileFilter kBinFilter{"BIN (*.bin)", "*.bin"};
inline const FileFilter kDataLogFilter{"DataLogs (*.dat)", "*.dat"};
inline const FileFilter kAllFilter{"All (*.*)", "*.*"};

inline std::vector<FileFilter> TypeAndAll(const FileFilter& type) { return {type, kAllFilter}; }

}  // namespace vantor::ui
