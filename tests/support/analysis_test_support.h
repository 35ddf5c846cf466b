#pragma once
// Shared helpers of the analysis tests: a scratch directory, file reading.

#include <string>

#include "support/temp_dir.h"

namespace vantor::testlog {

using TempDir = test::TempDir;

inline std::string ReadAll(const std::string& path) { return test::ReadText(path); }
inline std::string Golden(const std::string& name) { return ReadAll(std::string(VANTOR_TESTDATA_DIR) + "/logs/" + name); }

}  // namespace vantor::testlog
