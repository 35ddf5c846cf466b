#pragma once
// A pane line that names a file or folder: the label and the path, the start
// of the path left out ("...") when the whole does not fit the line.

#include <string>

namespace vantor {

std::string PathLine(const std::string& label, const std::string& path, std::size_t width);

}  // namespace vantor
