#pragma once
// The log of the Analysis window and drawing tests: 80 frames, marks before
// frames 10 and 30, a time stamp before frame 50.

#include <string>

#include "logs/analysis_samples.h"

namespace vantor::testlog {

constexpr int kMarkedLogLines = 80;

inline std::string MarkedLog() {
  LogBuilder log;
  for (int i = 0; i < kMarkedLogLines; ++i) {
    if (i == 10 || i == 30) log.Raw(MarkRecord(i, " 01/01/2020 - 00:00:00"));
    if (i == 50) log.Raw(StampRecord(" 01/01/2020 - 00:00:03"));
    log.Frame(BaseFrame(static_cast<unsigned>(i / 17), static_cast<unsigned>(4 * i % 256)));
  }
  return log.Bytes();
}

}  // namespace vantor::testlog
