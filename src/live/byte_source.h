#pragma once
// Where the frame reader takes its bytes: the analysis file, the playback
// file, the live receive ring, or nothing.

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vantor {

class EcmLink;

enum class ByteSourceId : std::uint32_t { Analysis = 0, Playback = 1, Live = 2, None = 3 };

// A read-only log file with its own buffer: byte reads are cheap and the
// reader can step back after a failed frame.
class LogFileReader {
 public:
  LogFileReader() = default;
  ~LogFileReader();
  LogFileReader(const LogFileReader&) = delete;
  LogFileReader& operator=(const LogFileReader&) = delete;

  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  // -1 at the end of the file.
  int Next() {
    if (pos_ < fill_) return buffer_[pos_++];
    return Refill();
  }
  std::int64_t Tell() const { return bufferStart_ + static_cast<std::int64_t>(pos_); }
  bool Seek(std::int64_t offset);
  std::int64_t Size() const { return size_; }

 private:
  int Refill();

  std::FILE* file_ = nullptr;
  std::vector<std::uint8_t> buffer_;
  std::size_t pos_ = 0;
  std::size_t fill_ = 0;
  std::int64_t bufferStart_ = 0;
  std::int64_t size_ = 0;
};

class ByteSources {
 public:
  explicit ByteSources(EcmLink* link = nullptr, ByteSourceId initial = ByteSourceId::Live);

  // SelectByteSource: returns the previous source.
  ByteSourceId Select(ByteSourceId source);
  ByteSourceId Current() const { return static_cast<ByteSourceId>(current_.load(std::memory_order_acquire)); }

  // Store the stream and set that source's end-of-data flag to !active.
  // On return no read of the file it replaces is in progress.
  void SetPlaybackFile(bool active, LogFileReader* file);
  void SetAnalysisFile(bool active, LogFileReader* file);
  void SetPlaybackEndHook(std::function<void()> hook) { playbackEnd_ = std::move(hook); }
  void SetAnalysisEndHook(std::function<void()> hook) { analysisEnd_ = std::move(hook); }

  // 0..255, or -1 at the end of data. A file source at its end sleeps 1 ms and returns 0.
  int NextByte();
  // Moves the current file source back by n bytes (after a failed frame).
  void StepBack(int n);
  bool CurrentIsFile() const;

 private:
  // The reader shows the file it is using in inUse, so that Set can wait
  // until no read of a file being replaced is in progress.
  struct FileSource {
    std::atomic<LogFileReader*> file{nullptr};
    std::atomic<LogFileReader*> inUse{nullptr};
    std::atomic<bool> ended{true};
    std::function<void()>* hook = nullptr;
    void Set(bool active, LogFileReader* newFile);
    LogFileReader* Acquire();
    void Release();
  };
  int NextFileByte(FileSource& source);
  FileSource* CurrentFile();

  EcmLink* link_;
  std::atomic<std::uint32_t> current_;
  FileSource analysis_;
  FileSource playback_;
  std::function<void()> playbackEnd_;
  std::function<void()> analysisEnd_;
};

}  // namespace vantor
