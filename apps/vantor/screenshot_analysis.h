#pragma once
// vantor screenshot for the Analysis display and the "1/4 Mile Graph".

#include <string>

#include "cli.h"

namespace vantor::cli {

// "analysis" or "qtr".
bool IsAnalysisScreenshot(const std::string& display);
// Renders the display of --log with --line selected (or the graph from
// --line) into out; returns the exit status.
int RunAnalysisScreenshot(const Args& args, const std::string& display, const std::string& out);

}  // namespace vantor::cli
