#include "sim/output_line.h"

#include <algorithm>
#include <iterator>

namespace vantor::sim {
namespace {

constexpr double kByteMicros = 1e6 / OutputLine::kBytesPerSecond;
constexpr double kBufferMicros = OutputLine::kBufferBytes * kByteMicros;

}  // namespace

void OutputLine::Queue(std::vector<std::uint8_t> bytes, std::int64_t readyAt, bool isFrame) {
  if (bytes.empty()) return;
  // A held-back reply must not hold back the frames that are due before it.
  auto at = chunks_.end();
  while (at != chunks_.begin() && std::prev(at)->sent == 0 && std::prev(at)->readyAt > readyAt) --at;
  chunks_.insert(at, Chunk{std::move(bytes), 0, readyAt, isFrame});
}

std::size_t OutputLine::Take(std::uint8_t* out, std::size_t capacity, std::int64_t now) {
  if (paced_) DropBytesNobodyRead(now);
  std::size_t taken = 0;
  while (taken < capacity && !chunks_.empty()) {
    Chunk& chunk = chunks_.front();
    const double start = std::max(lineTime_, static_cast<double>(chunk.readyAt));
    const double done = start + (paced_ ? kByteMicros : 0.0);
    if (done > static_cast<double>(now)) break;
    out[taken++] = chunk.bytes[chunk.sent++];
    lineTime_ = done;
    if (chunk.sent == chunk.bytes.size()) chunks_.pop_front();
  }
  return taken;
}

void OutputLine::DropBytesNobodyRead(std::int64_t now) {
  const double oldest = static_cast<double>(now) - kBufferMicros;
  while (!chunks_.empty()) {
    Chunk& chunk = chunks_.front();
    const double start = std::max(lineTime_, static_cast<double>(chunk.readyAt));
    if (start + kByteMicros >= oldest) break;
    ++chunk.sent;
    lineTime_ = start + kByteMicros;
    if (chunk.sent == chunk.bytes.size()) chunks_.pop_front();
  }
}

void OutputLine::DropUnstartedFrames() {
  std::deque<Chunk> kept;
  for (auto& chunk : chunks_)
    if (!chunk.isFrame || chunk.sent > 0) kept.push_back(std::move(chunk));
  chunks_ = std::move(kept);
}

void OutputLine::Clear() { chunks_.clear(); }

std::size_t OutputLine::QueuedFrames() const {
  return static_cast<std::size_t>(std::count_if(chunks_.begin(), chunks_.end(), [](const Chunk& c) { return c.isFrame; }));
}

}  // namespace vantor::sim
