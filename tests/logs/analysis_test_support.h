#pragma once
// Shared helpers of the analysis tests: a scratch directory, file reading.

#include <fstream>
#include <sstream>
#include <string>

#include "cal/temp_dir.h"

namespace vantor::testlog {

using TempDir = test::TempDir;

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline std::string Golden(const std::string& name) {
  return ReadAll(std::string(VANTOR_TESTDATA_DIR) + "/logs/" + name);
}

}  // namespace vantor::testlog
