#pragma once
// Every frame of a log file through the frame reader, as the analysis reads it.

#include <cstdint>
#include <string>
#include <vector>

#include "live/byte_source.h"
#include "live/frame_reader.h"

namespace vantor::testlog {

struct LogReadBack {
  std::vector<std::vector<std::uint8_t>> good;  // the data of each good frame
  std::vector<std::string> marks;               // and its mark text
  int bad = 0;
};

inline LogReadBack ReadLogBack(const std::string& path) {
  LogReadBack back;
  LogFileReader file;
  if (!file.Open(path)) return back;
  ByteSources sources(nullptr, ByteSourceId::Analysis);
  sources.SetAnalysisFile(true, &file);
  LogFrameRead frame{};
  for (int status; (status = ReadLogFrame(sources, frame)) != kFrameEndOfData;) {
    if (status != kFrameOk) {
      ++back.bad;
      continue;
    }
    back.good.emplace_back(frame.data, frame.data + kFrameDataSize);
    back.marks.push_back(frame.markText);
  }
  sources.SetAnalysisFile(false, nullptr);
  return back;
}

}  // namespace vantor::testlog
