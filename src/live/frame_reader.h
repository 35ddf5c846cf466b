#pragma once
// ReadLogFrame: finds the next 0x55 0xAA frame envelope in the current byte
// source, removes time stamp and mark records met on the way and checks the CRC.

#include <cstdint>

namespace vantor {

class ByteSources;

constexpr int kFrameDataSize = 273;
constexpr int kLogFrameSize = 277;
constexpr int kTimeTextSize = 23;  // 22 characters and a terminator
constexpr int kMarkTextSize = 4;
constexpr int kBytesPerSecondOfLog = 4709;  // 17 frames

enum FrameResult : int { kFrameOk = 0, kFrameBadCheck = 3, kFrameEndOfData = 4 };

struct LogFrameRead {
  std::uint8_t data[kFrameDataSize];
  char timeText[kTimeTextSize];
  char markText[kMarkTextSize];
};

int ReadLogFrame(ByteSources& sources, std::uint8_t* data, char* timeText, char* markText);
inline int ReadLogFrame(ByteSources& sources, LogFrameRead& out) {
  return ReadLogFrame(sources, out.data, out.timeText, out.markText);
}

}  // namespace vantor
