#include "live/byte_source.h"

#include <filesystem>
#include <system_error>
#include <thread>

#include "link/ecm_link.h"

namespace vantor {
namespace {

// Large enough that an analysis pass over a long log rarely touches the disk.
constexpr std::size_t kReaderBufferSize = 1 << 20;
// A lent block is small, so that a reader replacing the file waits only
// for a few microseconds of reading.
constexpr std::size_t kLendLimit = 4096;

}  // namespace

// ---- LogFileReader ----

LogFileReader::~LogFileReader() { Close(); }

bool LogFileReader::Open(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) return false;
  // Not every file system can seek to the end of a directory; its size is
  // simply 0 and its first read fails.
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  size_ = error ? 0 : static_cast<std::int64_t>(size);
  buffer_.resize(kReaderBufferSize);
  pos_ = fill_ = 0;
  bufferStart_ = 0;
  readFailed_ = false;
  return true;
}

void LogFileReader::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  pos_ = fill_ = 0;
  bufferStart_ = 0;
  size_ = 0;
  readFailed_ = false;
}

int LogFileReader::Refill() {
  if (!file_) return -1;
  bufferStart_ += static_cast<std::int64_t>(fill_);
  pos_ = 0;
  fill_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  if (fill_ == 0) {
    if (std::ferror(file_)) readFailed_ = true;
    return -1;
  }
  return buffer_[pos_++];
}

std::size_t LogFileReader::Buffered(const std::uint8_t** bytes) {
  if (pos_ >= fill_) {
    if (Refill() < 0) return 0;
    --pos_;  // Refill handed out the first byte; it stays buffered
  }
  *bytes = buffer_.data() + pos_;
  return fill_ - pos_;
}

bool LogFileReader::Seek(std::int64_t offset) {
  if (!file_ || offset < 0 || offset > size_) return false;
  // Within the buffer only the position moves.
  if (offset >= bufferStart_ && offset <= bufferStart_ + static_cast<std::int64_t>(fill_)) {
    pos_ = static_cast<std::size_t>(offset - bufferStart_);
    return true;
  }
  if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0) return false;
  bufferStart_ = offset;
  pos_ = fill_ = 0;
  return true;
}

// ---- ByteSources ----

ByteSources::ByteSources(EcmLink* link, ByteSourceId initial)
    : link_(link), current_(static_cast<std::uint32_t>(initial)) {
  analysis_.hook = &analysisEnd_;
  playback_.hook = &playbackEnd_;
}

ByteSourceId ByteSources::Select(ByteSourceId source) {
  const auto previous = static_cast<ByteSourceId>(
      current_.exchange(static_cast<std::uint32_t>(source), std::memory_order_acq_rel));
  Wake();
  return previous;
}

void ByteSources::FileSource::Set(bool active, LogFileReader* newFile) {
  LogFileReader* old = file.exchange(newFile, std::memory_order_seq_cst);
  ended.store(!active || newFile == nullptr, std::memory_order_seq_cst);
  // The reader publishes the file it uses before it touches it; once it no
  // longer shows the old one, the caller may close it.
  if (old && old != newFile) {
    while (inUse.load(std::memory_order_seq_cst) == old) std::this_thread::yield();
  }
}

LogFileReader* ByteSources::FileSource::Hold() {
  // Still the stored file: inUse has shown it since it was taken.
  if (held && file.load(std::memory_order_acquire) == held) return held;
  for (;;) {
    LogFileReader* f = file.load(std::memory_order_seq_cst);
    inUse.store(f, std::memory_order_seq_cst);
    if (file.load(std::memory_order_seq_cst) == f) return held = f;
  }
}

void ByteSources::FileSource::Release() {
  held = nullptr;
  inUse.store(nullptr, std::memory_order_seq_cst);
}

void ByteSources::FileSource::ReachEnd() {
  Release();
  // Only the first reader to see the end calls the hook.
  if (!ended.exchange(true, std::memory_order_acq_rel) && *hook) (*hook)();
}

void ByteSources::SetPlaybackFile(bool active, LogFileReader* file) { playback_.Set(active, file); }

void ByteSources::SetAnalysisFile(bool active, LogFileReader* file) { analysis_.Set(active, file); }

int ByteSources::NextFileByte(FileSource& source) {
  if (!source.ended.load(std::memory_order_acquire)) {
    LogFileReader* file = source.Hold();
    const int byte = file ? file->Next() : -1;
    if (byte >= 0) return byte;
    source.ReachEnd();
    return -1;
  }
  if (source.held) source.Release();
  return -1;
}

ByteSources::FileSource* ByteSources::CurrentFile() {
  switch (Current()) {
    case ByteSourceId::Analysis: return &analysis_;
    case ByteSourceId::Playback: return &playback_;
    default: return nullptr;
  }
}

bool ByteSources::CurrentIsFile() const {
  const ByteSourceId id = Current();
  return id == ByteSourceId::Analysis || id == ByteSourceId::Playback;
}

int ByteSources::NextByte() {
  if (FileSource* source = CurrentFile()) return NextFileByte(*source);
  if (Current() == ByteSourceId::Live && link_) return link_->RxNextByte();
  return -1;
}

int ByteSources::Lend(const std::uint8_t** bytes) {
  FileSource* source = CurrentFile();
  if (!source || source->ended.load(std::memory_order_acquire)) return -1;
  LogFileReader* file = source->Hold();
  const std::size_t count = file ? file->Buffered(bytes) : 0;
  lentFrom_ = source;
  if (count > 0) return static_cast<int>(count < kLendLimit ? count : kLendLimit);
  source->ReachEnd();
  return 0;
}

void ByteSources::Consume(int n) {
  if (lentFrom_ && lentFrom_->held && n > 0) lentFrom_->held->Consume(static_cast<std::size_t>(n));
  lentFrom_ = nullptr;
}

void ByteSources::StepBack(int n) {
  FileSource* source = CurrentFile();
  if (!source) return;
  if (LogFileReader* file = source->Hold()) {
    const std::int64_t target = file->Tell() - n;
    file->Seek(target < 0 ? 0 : target);
  }
}

void ByteSources::EndRead() {
  if (analysis_.held) analysis_.Release();
  if (playback_.held) playback_.Release();
}

void ByteSources::Rest() { wake_.WaitAfter(passSeen_); }

void ByteSources::RestUntil(WakeSignal::Clock::time_point deadline) { wake_.WaitAfter(passSeen_, deadline); }

void ByteSources::AwaitLiveBytes(std::uint32_t count) {
  if (!link_) return Rest();
  link_->WatchArrival(wake_, count);
  if (link_->RxAvailable() < count) Rest();
  link_->EndArrivalWatch(wake_);
}

}  // namespace vantor
