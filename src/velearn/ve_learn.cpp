#include "velearn/ve_learn.h"

#include <cstdio>
#include <cstdlib>

#include "cal/ve_file.h"
#include "live/conversions.h"
#include "live/live_data.h"
#include "live/live_frame.h"
#include "settings/settings.h"
#include "velearn/smoother.h"

namespace vantor {
namespace {

constexpr int kRecomputeEveryFrames = 17;
constexpr int kSteadyStep = 5;  // largest MAP (kPa) or TPS (%) change between sampled frames
constexpr int kMinLearnRpm = 400;
constexpr std::int32_t kFactorMin = 112, kFactorMax = 144;


int RoundedMap(const std::uint8_t* data) {
  const int kpa = static_cast<int>(LoadKpa(data[frame::kLoadMap]) + 0.5);
  return kpa > 100 ? 100 : kpa;
}

int RoundedTps(const std::uint8_t* data) { return static_cast<int>(PercentCode(data[frame::kTps]) + 0.5); }

void SplitPath(const std::string& path, std::string* name, std::string* directory) {
  const auto slash = path.find_last_of("/\\");
  *name = slash == std::string::npos ? path : path.substr(slash + 1);
  *directory = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

VeLearn::VeLearn(Settings& settings, const LiveData& live, VeLearnHooks hooks)
    : settings_(settings), live_(live), hooks_(std::move(hooks)), grid_(std::make_unique<LearnGrid>()) {}

void VeLearn::Message(const std::string& text, const std::string& caption) const {
  if (hooks_.messageBox) hooks_.messageBox(text, caption);
}

bool VeLearn::Start(const std::string& sourcePath, const std::string& newPath, std::int32_t secondsTick) {
  if (Active()) return false;
  const SignatureCheck check = CheckSignature(sourcePath, BinReader::MainProgram);
  if (check.status == SignatureStatus::CannotOpen) {
    Message(kCannotOpenBin, kFileOpenErrorCaption);
    return false;
  }
  if (check.status == SignatureStatus::NotABin) {
    Message(check.text, check.caption);
    return false;
  }
  {
    std::lock_guard lock(mutex_);
    generation_ = check.generation;
    sourcePath_ = sourcePath;
    newPath_ = newPath;
    freshCopy_ = true;
    if (hooks_.scheduleAutoUpdate) hooks_.scheduleAutoUpdate(settings_.autoVTime * 60 + secondsTick);
    if (!ReadVeTable(sourcePath, &original_)) {
      Message(kVeReadError, kVeReadErrorCaption);
      return false;
    }
    tableRead_ = true;
    ResetLocked();
  }
  active_.store(true, std::memory_order_release);
  settings_.learnVe = sourcePath;
  SplitPath(sourcePath, &settings_.learnVeName, &settings_.learnVePath);
  settings_.flshBin = newPath;
  SplitPath(newPath, &settings_.flshBinFile, &settings_.flshBinPath);
  if (hooks_.writeSettings) hooks_.writeSettings();
  if (hooks_.stateChanged) hooks_.stateChanged();
  return true;
}

bool VeLearn::Stop() {
  if (!Active()) return true;
  active_.store(false, std::memory_order_release);
  bool written;
  {
    // The lock is the hand-over: a frame being accumulated finishes first.
    std::lock_guard lock(mutex_);
    written = WriteNewBin(true);
    // A failed write keeps the table and the run, so nothing learned is lost.
    if (!written) active_.store(true, std::memory_order_release);
  }
  if (!written) {
    Message(kVeWriteError, kVeWriteErrorCaption);
    return false;
  }
  if (hooks_.stateChanged) hooks_.stateChanged();
  return true;
}

bool VeLearn::SaveAtExit() {
  if (!Active()) return true;
  active_.store(false, std::memory_order_release);
  std::lock_guard lock(mutex_);
  return WriteNewBin(false);
}

void VeLearn::AutoSave() {
  if (!Active()) return;
  std::lock_guard lock(mutex_);
  if (!Active()) return;  // Stop came first
  if (!WriteNewBin(true)) {
    Message(kVeWriteError, kVeWriteErrorCaption);
    return;
  }
  if (!ReadVeTable(newPath_, &original_)) {
    Message(kVeReadError, kVeReadErrorCaption);
    return;
  }
  ResetLocked();
}

bool VeLearn::WriteNewBin(bool showMessages) {
  lastSmootherError_ = kSmootherNotRun;
  if (settings_.smoothFac > 0) {
    const int ier = SmoothLearnedTable(learned_, settings_.smoothFac);
    lastSmootherError_ = ier;
    if (ier > 0 && showMessages) {
      char caption[32];
      std::snprintf(caption, sizeof caption, "Smoother Error: %d", ier);
      Message("Error Smoothing VE table for VE Learn", caption);
    }
  }
  const VeWriteBase base = freshCopy_ ? VeWriteBase::FreshCopyOfSource : VeWriteBase::ExistingFile;
  if (!WriteVeTable(sourcePath_, newPath_, static_cast<std::uint16_t>(generation_), learned_, base)) return false;
  freshCopy_ = false;
  return true;
}

void VeLearn::Reset() {
  std::lock_guard lock(mutex_);
  ResetLocked();
}

void VeLearn::ResetLocked() {
  for (int r = 1; r <= kVeRows; ++r)
    for (int c = 1; c <= kVeColumns; ++c) {
      learned_.At(r, c) = original_.At(r, c);
      correction_.At(r, c) = 0;
    }
  grid_->Clear();
  wbBlmWarning_ = false;
  frameCount_ = 0;
  sampleCount_ = 0;
}

void VeLearn::OnFrame(const std::uint8_t* data, bool draw) {
  std::unique_lock lock(mutex_);
  ++frameCount_;
  const int map = RoundedMap(data);
  const int tps = RoundedTps(data);
  mapBinNow_ = MapBin(map);
  rpmBinNow_ = RpmBin(data[frame::kRpmCoarse28], data[frame::kRpmStep31]);
  displayMap_ = map;

  const bool learning = Active();
  std::uint32_t sample = 0;
  const LearnGate gate = learning ? Accumulate(data, map, tps, &sample) : LearnGate::NotRunning;
  if (learning && observer_) observer_->OnVerdict(gate, rpmBinNow_, mapBinNow_, sample);
  learnedThisFrame_ = learning && ReachedSample(gate);
  if (learning && RemembersFrame(gate)) {
    previousMap_ = map;
    previousTps_ = tps;
  }

  if (++redrawCount_ > settings_.updateDivisor && draw) {
    redrawCount_ = 0;
    lock.unlock();  // the window recomputes under the same lock while it draws
    if (hooks_.redraw) hooks_.redraw();
    return;
  }
  if (++recomputeCount_ >= kRecomputeEveryFrames) {
    recomputeCount_ = 0;
    RecomputeLocked();
  }
}

LearnGate VeLearn::Accumulate(const std::uint8_t* data, int map, int tps, std::uint32_t* sample) {
  if (!live_.engineRunning.load()) return LearnGate::NotRunning;
  const LearnGate steady = SteadinessGates(data, map, tps);
  if (steady != LearnGate::Sampled) return steady;
  return TakeSample(data, sample);
}

LearnGate VeLearn::SteadinessGates(const std::uint8_t* data, int map, int tps) {
  const double coolant = TempCode(data[frame::kCoolantTemp], settings_.temperScale);
  if (coolant < settings_.lrnLwr || coolant > settings_.lrnUpr) return LearnGate::Coolant;
  if (data[frame::kFlags13] & 0x50) {  // AE or DE: a transient
    holdOff_ = kHoldOffFrames;
    return LearnGate::Transient;
  }
  if (holdOff_ > 0) {
    --holdOff_;
    return LearnGate::HoldOff;
  }
  if (std::abs(map - previousMap_) > kSteadyStep) return LearnGate::MapStep;
  if (std::abs(tps - previousTps_) > kSteadyStep) return LearnGate::TpsStep;
  if (map < 20) return LearnGate::MapBelowTable;
  if (data[frame::kRpmCoarse28] * 25 < kMinLearnRpm) return LearnGate::RpmBelowTable;
  if (live_.mapSensorBar.load() > 1 && data[frame::kBoost] > 0) return LearnGate::Boost;
  return LearnGate::Sampled;
}

LearnGate VeLearn::TakeSample(const std::uint8_t* data, std::uint32_t* sample) {
  const int rpmBin = RpmBin(data[frame::kRpmCoarse28], data[frame::kRpmStep31]);
  const int mapBin = MapBin(RoundedMap(data));
  if (settings_.lrnInp == 0) {
    if (!(data[frame::kFlags14] & 0x02)) return LearnGate::BlmInactive;
    const int blm = data[frame::kBlm], integrator = data[frame::kInt];
    if ((blm > 128 && integrator < 124) || (blm < 128 && integrator > 132)) return LearnGate::BlmIntConflict;
    *sample = static_cast<std::uint32_t>(blm);
  } else {
    if (data[frame::kFlags14] & 0x80) return LearnGate::ClosedLoop;  // closed loop: the ECM trims
    if (data[frame::kBlm] != 128) {
      wbBlmWarning_ = true;
      return LearnGate::BlmNot128;
    }
    const int commanded = data[frame::kCommandedAfr];
    // No reading yet (sensor warming, no channel): a sample of 0 would empty the bin.
    if (commanded == 0 || live_.wbAfr.load() <= 0.0) return LearnGate::NoReading;
    *sample = static_cast<std::uint32_t>(live_.wbAfr.load() / (commanded / 10.0) * 128 + 0.5);
  }
  grid_->Add(rpmBin, mapBin, *sample);
  ++sampleCount_;
  return LearnGate::Sampled;
}

void VeLearn::Recompute() {
  std::lock_guard lock(mutex_);
  RecomputeLocked();
}

void VeLearn::RecomputeLocked() {
  if (!Active()) return;
  overflowTitle_.clear();
  overflowRpm_.clear();
  overflowMap_.clear();
  const double gain = settings_.lrnInp == 0 ? kBlmGain : kWidebandGain;
  for (int r = 1; r <= kVeRows; ++r) {
    for (int c = 1; c <= kVeColumns; ++c) {
      const int rpm = kVeRpmAxis[r - 1], map = kVeMapAxis[c - 1];
      const std::uint32_t average = NeighbourhoodAverage(*grid_, rpm, map);
      if (average == 0) continue;
      std::int32_t factor = static_cast<std::int32_t>((static_cast<double>(average) - 128) * gain + 128);
      factor = factor < kFactorMin ? kFactorMin : (factor > kFactorMax ? kFactorMax : factor);
      correction_.At(r, c) = factor;
      std::int32_t cell = (factor * original_.At(r, c)) >> 7;
      if (cell > 255) {
        cell = 255;
        char text[32];
        overflowTitle_ = "Overflow on VE:";
        std::snprintf(text, sizeof text, "%d RPM   ", rpm);
        overflowRpm_ = text;
        std::snprintf(text, sizeof text, "%d KPa   ", map);
        overflowMap_ = text;
      }
      learned_.At(r, c) = cell;
    }
  }
}

}  // namespace vantor
