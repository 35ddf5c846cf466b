#include "live/byte_source.h"

#include <chrono>
#include <thread>

#include "link/ecm_link.h"

namespace vantor {
namespace {

// Large enough that an analysis pass over a long log rarely touches the disk.
constexpr std::size_t kReaderBufferSize = 1 << 20;

}  // namespace

// ---- LogFileReader ----

LogFileReader::~LogFileReader() { Close(); }

bool LogFileReader::Open(const std::string& path) {
  Close();
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) return false;
  if (std::fseek(file_, 0, SEEK_END) != 0) {
    Close();
    return false;
  }
  size_ = std::ftell(file_);
  std::rewind(file_);
  buffer_.resize(kReaderBufferSize);
  pos_ = fill_ = 0;
  bufferStart_ = 0;
  return size_ >= 0;
}

void LogFileReader::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  pos_ = fill_ = 0;
  bufferStart_ = 0;
  size_ = 0;
}

int LogFileReader::Refill() {
  if (!file_) return -1;
  bufferStart_ += static_cast<std::int64_t>(fill_);
  pos_ = 0;
  fill_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
  if (fill_ == 0) return -1;
  return buffer_[pos_++];
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
  return static_cast<ByteSourceId>(
      current_.exchange(static_cast<std::uint32_t>(source), std::memory_order_acq_rel));
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

LogFileReader* ByteSources::FileSource::Acquire() {
  for (;;) {
    LogFileReader* f = file.load(std::memory_order_seq_cst);
    inUse.store(f, std::memory_order_seq_cst);
    if (file.load(std::memory_order_seq_cst) == f) return f;
  }
}

void ByteSources::FileSource::Release() { inUse.store(nullptr, std::memory_order_seq_cst); }

void ByteSources::SetPlaybackFile(bool active, LogFileReader* file) { playback_.Set(active, file); }

void ByteSources::SetAnalysisFile(bool active, LogFileReader* file) { analysis_.Set(active, file); }

int ByteSources::NextFileByte(FileSource& source) {
  if (!source.ended.load(std::memory_order_acquire)) {
    LogFileReader* file = source.Acquire();
    const int byte = file ? file->Next() : -1;
    source.Release();
    if (byte >= 0) return byte;
    // Only the first reader to see the end calls the hook.
    if (!source.ended.exchange(true, std::memory_order_acq_rel) && *source.hook) (*source.hook)();
    return -1;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return 0;
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

void ByteSources::StepBack(int n) {
  FileSource* source = CurrentFile();
  if (!source) return;
  LogFileReader* file = source->Acquire();
  if (file) {
    const std::int64_t target = file->Tell() - n;
    file->Seek(target < 0 ? 0 : target);
  }
  source->Release();
}

}  // namespace vantor
