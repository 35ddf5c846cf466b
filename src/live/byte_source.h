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

#include "platform/wake_signal.h"

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

  // A path that opens but cannot be read (a directory) opens here and fails on reading.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }
  // True once a read failed: the -1 that followed was not the end of the file.
  bool ReadFailed() const { return readFailed_; }
  // -1 at the end of the file or on a read error.
  int Next() {
    if (pos_ < fill_) return buffer_[pos_++];
    return Refill();
  }
  std::int64_t Tell() const { return bufferStart_ + static_cast<std::int64_t>(pos_); }
  // The bytes buffered ahead of the read position (refilled when none are);
  // 0 at the end of the file or on a read error. Consume moves past n of them.
  std::size_t Buffered(const std::uint8_t** bytes);
  void Consume(std::size_t n) { pos_ += n; }
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
  bool readFailed_ = false;
};

class ByteSources {
 public:
  explicit ByteSources(EcmLink* link = nullptr, ByteSourceId initial = ByteSourceId::Live);

  // SelectByteSource: returns the previous source (and wakes the reader).
  ByteSourceId Select(ByteSourceId source);
  ByteSourceId Current() const { return static_cast<ByteSourceId>(current_.load(std::memory_order_acquire)); }

  // Store the stream and set that source's end-of-data flag to !active.
  // On return no read of the file it replaces is in progress.
  void SetPlaybackFile(bool active, LogFileReader* file);
  void SetAnalysisFile(bool active, LogFileReader* file);
  void SetPlaybackEndHook(std::function<void()> hook) { playbackEnd_ = std::move(hook); }
  void SetAnalysisEndHook(std::function<void()> hook) { analysisEnd_ = std::move(hook); }

  // 0..255, or -1 at the end of data, also for a file source already at its end.
  int NextByte();
  // A file source's next bytes as a block, so that a frame is not read one
  // call per byte: the count lent (0 at the end of data, when NextByte
  // would give -1), or -1 when the bytes must come from NextByte (not a file
  // source, or one at its end). The reader gives back the count it used
  // with Consume before it asks again, steps back or ends its read.
  int Lend(const std::uint8_t** bytes);
  void Consume(int n);
  // Moves the current file source back by n bytes (after a failed frame).
  void StepBack(int n);
  // The frame reader calls this when it returns: the file it read from may
  // then be replaced without waiting for it.
  void EndRead();
  bool CurrentIsFile() const;

  // ---- the reader's doorbell (the display thread's) ----
  // Rung by Select, by Wake (a suspension, a playback control, the seconds
  // tick) and, while AwaitLiveBytes runs, by the live ring. The reader notes
  // the count when a pass of its loop begins; each of its waits ends at the
  // first ring after that note, so nothing rung during the pass is missed.
  void Wake() { wake_.Ring(); }
  void BeginPass() { passSeen_ = wake_.Count(); }
  void Rest();
  void RestUntil(WakeSignal::Clock::time_point deadline);
  // Rests until `count` bytes wait in the live ring, or a ring.
  void AwaitLiveBytes(std::uint32_t count);

 private:
  // The reader shows the file it is using in inUse, so that Set can wait
  // until no read of a file being replaced is in progress. It keeps showing
  // it (held) for the bytes of one frame, checking before each byte that the
  // file was not replaced, so a byte costs no store.
  struct FileSource {
    std::atomic<LogFileReader*> file{nullptr};
    std::atomic<LogFileReader*> inUse{nullptr};
    std::atomic<bool> ended{true};
    std::function<void()>* hook = nullptr;
    LogFileReader* held = nullptr;  // the reader thread's own
    void Set(bool active, LogFileReader* newFile);
    LogFileReader* Hold();
    void Release();
    void ReachEnd();  // releases the file, marks the end and calls the hook once
  };
  int NextFileByte(FileSource& source);
  FileSource* CurrentFile();

  EcmLink* link_;
  std::atomic<std::uint32_t> current_;
  FileSource analysis_;
  FileSource playback_;
  FileSource* lentFrom_ = nullptr;  // the reader thread's own
  std::function<void()> playbackEnd_;
  std::function<void()> analysisEnd_;
  WakeSignal wake_;
  std::uint64_t passSeen_ = 0;  // the reader thread's own
};

}  // namespace vantor
