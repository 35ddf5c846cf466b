#include "logs/playback.h"

#include "live/byte_source.h"
#include "live/frame_loop.h"
#include "live/live_data.h"
#include "logs/analysis_messages.h"
#include "logs/data_log_recorder.h"
#include "logs/remembered_path.h"

namespace vantor {
namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

std::int64_t BackUpTarget(std::int64_t position, int count) {
  const std::int64_t target = position - count * kBackUpStepBytes;
  return target < 0 ? 0 : target;
}

int ProgressMaximum(std::int64_t size) { return static_cast<int>(size / kBackUpStepBytes + 5); }

Playback::Playback(ByteSources& sources, FrameLoop& loop, const LiveData& live, DataLogRecorder* recorder,
                   Settings& settings, PlaybackHooks hooks)
    : sources_(sources), loop_(loop), live_(live), recorder_(recorder), settings_(settings),
      hooks_(std::move(hooks)) {
  sources_.SetPlaybackEndHook([this] { PlaybackEndReached(); });
  loop_.SetPlaybackFrameDone([this] { PlaybackFrameDone(); });
}

Playback::~Playback() { StopPlayback(); }

bool Playback::StartPlayback(const std::string& path) {
  if (Playing()) return true;
  auto file = std::make_unique<LogFileReader>();
  if (!file->Open(path)) {
    if (hooks_.showMessage) hooks_.showMessage(kPlaybackOpenErrorText, "File Open Error");
    return false;
  }
  if (recorder_) recorder_->StopDataLog();
  playSize_ = file->Size();
  if (hooks_.progressCreate) hooks_.progressCreate(ProgressMaximum(playSize_));
  rate_.store(settings_.pbSpd, std::memory_order_release);
  {
    std::lock_guard lock(fileMutex_);
    file_ = std::move(file);
    progressFrames_ = 0;
    backUpCount_.store(0, std::memory_order_release);
    paused_.store(false, std::memory_order_release);
    atEnd_.store(false, std::memory_order_release);
    restEnd_.store(0, std::memory_order_release);
    playing_.store(true, std::memory_order_release);
    sources_.SetPlaybackFile(true, file_.get());
  }
  sources_.Select(ByteSourceId::Playback);
  RememberPlayPath(path);
  if (hooks_.playingChanged) hooks_.playingChanged(true);
  return true;
}

void Playback::RememberPlayPath(const std::string& path) {
  const RememberedPath play = SplitRememberedPath(path);
  settings_.play = play.full;
  settings_.playName = play.name;
  settings_.playPath = play.directory;
  if (hooks_.saveSettings) hooks_.saveSettings();
}

void Playback::StopPlayback() {
  if (!playing_.exchange(false, std::memory_order_acq_rel)) return;
  atEnd_.store(false, std::memory_order_release);
  // The reader, even one waiting at the end of the file, turns to the live
  // source and returns; then the display thread leaves PlaybackStep.
  sources_.Select(ByteSourceId::Live);
  {
    std::lock_guard lock(fileMutex_);
    sources_.SetPlaybackFile(false, nullptr);
    file_.reset();
  }
  if (hooks_.progressRemove) hooks_.progressRemove();
  loop_.ClearCatchUp();
  backUpCount_.store(0, std::memory_order_release);
  if (hooks_.playingChanged) hooks_.playingChanged(false);
}

void Playback::SetPaused(bool paused) {
  paused_.store(paused, std::memory_order_release);
  sources_.Wake();
}

void Playback::AddBackUp(int steps) {
  if (!Playing() || steps == 0) return;
  const bool first = backUpCount_.fetch_add(steps, std::memory_order_acq_rel) == 0;
  if (first) {
    const std::int32_t seconds =
        live_.runHours.load() * 3600 + live_.runMinutes.load() * 60 + live_.runSeconds.load();
    loop_.SetCatchUp(seconds, live_.framesThisSecond.load());
  }
  sources_.Wake();
}

void Playback::SetRate(int pbSpd) {
  rate_.store(pbSpd, std::memory_order_release);
  settings_.pbSpd = pbSpd;
  sources_.Wake();
}

void Playback::PlaybackStep() {
  if (RestingOn()) return;
  bool idle = true;  // nothing to play until a control or the source changes
  {
    std::lock_guard lock(fileMutex_);
    if (file_ && !AtEnd()) {
      ServeBackUp();
      idle = Paused();
      if (!idle) loop_.ProcessNextFrame();
    }
  }
  const int rate = rate_.load(std::memory_order_acquire);
  if (idle || AtEnd()) {
    Rest(kRestUntilWoken);
  } else if (rate > 0) {
    Rest(std::chrono::milliseconds(rate + kPlaybackDelayExtraMs));
  }
}

// Display thread, under the file lock.
void Playback::ServeBackUp() {
  const int count = backUpCount_.exchange(0, std::memory_order_acq_rel);
  if (count == 0) return;
  file_->Seek(BackUpTarget(file_->Tell(), count));
  loop_.ProcessNextFrame();
}

// Display thread, inside PlaybackStep: the file is held.
void Playback::PlaybackEndReached() {
  atEnd_.store(true, std::memory_order_release);
  // The data also ends where the file could not be read; that is no end of the log.
  if (file_ && file_->ReadFailed() && hooks_.showMessage)
    hooks_.showMessage(kPlaybackReadErrorText, analysis_text::kFileReadError);
  if (hooks_.endReached) hooks_.endReached();
}

void Playback::PlaybackFrameDone() {
  if (!Playing()) return;
  if (++progressFrames_ < kFramesPerProgressStep) return;
  progressFrames_ = 0;
  if (hooks_.progressStep) hooks_.progressStep();
}

void Playback::Rest(std::chrono::milliseconds duration) {
  if (hooks_.rest) return hooks_.rest(duration);
  if (duration == kRestUntilWoken) return sources_.Rest();
  const Clock::time_point end = Clock::now() + duration;
  restEnd_.store(end.time_since_epoch().count(), std::memory_order_release);
  sources_.RestUntil(end);
}

bool Playback::RestingOn() {
  const Clock::time_point end{Clock::duration(restEnd_.load(std::memory_order_acquire))};
  if (Clock::now() >= end) return false;
  sources_.RestUntil(end);
  return true;
}

}  // namespace vantor
