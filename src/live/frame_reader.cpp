#include "live/frame_reader.h"

#include <cstring>

#include "link/crc16.h"
#include "live/byte_source.h"

namespace vantor {
namespace {

constexpr std::uint8_t kSync1 = 0x55;
constexpr std::uint8_t kSync2 = 0xAA;
constexpr int kStepBackAfterBadCheck = 5;

enum class Match { None, Completed, EndOfData };

// The reader's bytes: blocks lent by a file source, read in place; one
// NextByte call per byte from any other source.
class ByteFeed {
 public:
  explicit ByteFeed(ByteSources& sources) : sources_(sources) {}
  ~ByteFeed() { GiveBack(); }
  ByteFeed(const ByteFeed&) = delete;
  ByteFeed& operator=(const ByteFeed&) = delete;

  int Next() {
    if (used_ < count_) return bytes_[used_++];
    return Refill();
  }
  // Returns what was read of the lent block, so that the file's position is
  // this reader's position.
  void GiveBack() {
    if (count_ > 0) sources_.Consume(used_);
    bytes_ = nullptr;
    count_ = used_ = 0;
  }
  ByteSources& Sources() { return sources_; }

 private:
  int Refill() {
    GiveBack();
    const int lent = sources_.Lend(&bytes_);
    if (lent < 0) return sources_.NextByte();
    if (lent == 0) return -1;
    count_ = lent;
    return bytes_[used_++];
  }

  ByteSources& sources_;
  const std::uint8_t* bytes_ = nullptr;
  int count_ = 0;
  int used_ = 0;
};

// Recognises one kind of event record ("TIME:" + 22 characters, "MARK" + 3
// digits) in the byte stream and takes its text from the source.
class RecordMatcher {
 public:
  RecordMatcher(const char* word, int textLength) : word_(word), wordLength_(static_cast<int>(std::strlen(word))), textLength_(textLength) {}

  Match Offer(int byte, ByteFeed& feed, char* text) {
    if (byte != static_cast<unsigned char>(word_[count_])) {
      count_ = 0;
      return Match::None;
    }
    if (++count_ < wordLength_) return Match::None;
    count_ = 0;
    char taken[kTimeTextSize];
    for (int i = 0; i < textLength_; ++i) {
      const int b = feed.Next();
      if (b < 0 || b == 0xFF) return Match::EndOfData;
      taken[i] = static_cast<char>(b);
    }
    std::memcpy(text, taken, static_cast<std::size_t>(textLength_));
    text[textLength_] = '\0';
    return Match::Completed;
  }

 private:
  const char* word_;
  int wordLength_;
  int textLength_;
  int count_ = 0;
};

enum class Record { None, Time, Mark, EndOfData };

struct RecordMatchers {
  RecordMatcher time{"TIME:", kTimeTextSize - 1};
  RecordMatcher mark{"MARK", kMarkTextSize - 1};

  // The "MARK" matcher sees a byte only when "TIME:" did not complete on it.
  Record Offer(int byte, ByteFeed& feed, char* timeText, char* markText) {
    switch (time.Offer(byte, feed, timeText)) {
      case Match::Completed: return Record::Time;
      case Match::EndOfData: return Record::EndOfData;
      case Match::None: break;
    }
    switch (mark.Offer(byte, feed, markText)) {
      case Match::Completed: return Record::Mark;
      case Match::EndOfData: return Record::EndOfData;
      case Match::None: break;
    }
    return Record::None;
  }
};

int ReadFrame(ByteFeed& feed, std::uint8_t* data, char* timeText, char* markText);

}  // namespace

// The file read from is held only while one frame is read.
int ReadLogFrame(ByteSources& sources, std::uint8_t* data, char* timeText, char* markText) {
  int result;
  {
    ByteFeed feed(sources);
    result = ReadFrame(feed, data, timeText, markText);
  }
  sources.EndRead();
  return result;
}

namespace {

int ReadFrame(ByteFeed& feed, std::uint8_t* data, char* timeText, char* markText) {
  timeText[0] = '\0';
  markText[0] = '\0';
  RecordMatchers matchers;

  int prev = -1;
  for (;;) {
    const int b = feed.Next();
    if (b < 0) return kFrameEndOfData;
    const Record record = matchers.Offer(b, feed, timeText, markText);
    if (record == Record::EndOfData) return kFrameEndOfData;
    if (record != Record::None) continue;
    if (prev == kSync1 && b == kSync2) break;
    prev = b;
  }

  std::memset(data, 0, kFrameDataSize);
  int i = 0;
  while (i < kFrameDataSize) {
    const int b = feed.Next();
    if (b < 0) return kFrameEndOfData;
    data[i] = static_cast<std::uint8_t>(b);
    switch (matchers.Offer(b, feed, timeText, markText)) {
      case Record::EndOfData: return kFrameEndOfData;
      case Record::Time: i -= 4; break;  // the marker bytes stored so far are dropped
      case Record::Mark: i -= 3; break;
      case Record::None: ++i; break;
    }
    if (i < 0) i = 0;
  }

  const int high = feed.Next();
  if (high < 0) return kFrameEndOfData;
  const int low = feed.Next();
  if (low < 0) return kFrameEndOfData;
  const unsigned check = static_cast<unsigned>(high) << 8 | static_cast<unsigned>(low);
  if (check == Crc16Prefixed(kSync1, kSync2, data, kFrameDataSize)) return kFrameOk;
  feed.GiveBack();
  if (feed.Sources().CurrentIsFile()) feed.Sources().StepBack(kStepBackAfterBadCheck);
  return kFrameBadCheck;
}

}  // namespace

}  // namespace vantor
