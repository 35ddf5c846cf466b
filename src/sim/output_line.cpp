#include "sim/output_line.h"

#include <algorithm>
#include <cmath>
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

std::int64_t OutputLine::BatchDue(std::size_t batch) const {
  double lineFree = lineTime_;
  std::size_t counted = 0;
  for (const Chunk& chunk : chunks_) {
    const double start = std::max(lineFree, static_cast<double>(chunk.readyAt));
    if (counted > 0 && start > lineFree) break;  // a pause: the burst ended
    const std::size_t n = std::min(chunk.bytes.size() - chunk.sent, batch - counted);
    lineFree = start + (paced_ ? kByteMicros * static_cast<double>(n) : 0.0);
    counted += n;
    if (counted == batch) break;
  }
  return counted == 0 ? -1 : static_cast<std::int64_t>(std::ceil(lineFree));
}

std::int64_t OutputLine::LineMicros(std::size_t bytes) const {
  return paced_ ? static_cast<std::int64_t>(std::ceil(kByteMicros * static_cast<double>(bytes))) : 0;
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
