#pragma once
// The ECM's transmit line: frames and replies queued in order and handed out
// at 115200 baud (11,520 bytes a second) when paced, or as soon as they are
// due when not. Bytes nobody collects for longer than a driver's input buffer
// lasts are lost, as on a real port.

#include <cstdint>
#include <deque>
#include <vector>

namespace vantor::sim {

class OutputLine {
 public:
  static constexpr double kBytesPerSecond = 11520.0;
  static constexpr double kBufferBytes = 8192.0;

  explicit OutputLine(bool paced) : paced_(paced) {}

  void Queue(std::vector<std::uint8_t> bytes, std::int64_t readyAt, bool isFrame);
  std::size_t Take(std::uint8_t* out, std::size_t capacity, std::int64_t now);
  // When the host has the next `batch` bytes, or all bytes of a shorter
  // burst (bytes that follow each other without a pause on the line): the
  // time a receiver that collects bytes in batches, as a serial adapter
  // does, passes them on. -1 when nothing is queued.
  std::int64_t BatchDue(std::size_t batch) const;
  // How long `bytes` bytes take on the line.
  std::int64_t LineMicros(std::size_t bytes) const;
  // Frames not yet begun are not sent (the stream was stopped).
  void DropUnstartedFrames();
  void Clear();
  std::size_t QueuedFrames() const;
  bool Empty() const { return chunks_.empty(); }

 private:
  struct Chunk {
    std::vector<std::uint8_t> bytes;
    std::size_t sent = 0;
    std::int64_t readyAt = 0;
    bool isFrame = false;
  };
  void DropBytesNobodyRead(std::int64_t now);

  bool paced_;
  std::deque<Chunk> chunks_;
  double lineTime_ = 0;  // when the line can start its next byte
};

}  // namespace vantor::sim
