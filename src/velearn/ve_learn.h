#pragma once
// VE learn: corrections to the VE table learned from driving. Every frame that
// passes the steadiness and temperature gates adds one sample to the learn
// grid; every 17th frame the grid becomes a learned table; stopping (or an
// auto-save) smooths it and writes the new BIN.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "cal/ve_table.h"
#include "live/frame_consumer.h"
#include "velearn/learn_gate.h"
#include "velearn/learn_grid.h"

namespace vantor {

struct Settings;
struct LiveData;

// Shows a message box (text, caption); the window or the command line decides how.
using VeLearnMessageHook = std::function<void(const std::string& text, const std::string& caption)>;

struct VeLearnHooks {
  VeLearnMessageHook messageBox;
  std::function<void()> writeSettings;   // the configuration file
  std::function<void()> redraw;          // the VE learn display's table (draw flag set)
  std::function<void()> stateChanged;    // menu items and the main window
  // The frame processing loop's auto-update schedule: the secondsTick of the first one.
  std::function<void(std::int32_t tick)> scheduleAutoUpdate;
};

constexpr const char* kVeReadError = "Error reading VE table from BIN File";
constexpr const char* kVeReadErrorCaption = "File Read Error";
constexpr const char* kVeWriteError = "Error Writing VE table to BIN File";
constexpr const char* kVeWriteErrorCaption = "File Write Error";

constexpr double kBlmGain = 0.66667;
constexpr double kWidebandGain = 1.0;
constexpr int kHoldOffFrames = 34;

class VeLearn : public FrameConsumer {
 public:
  VeLearn(Settings& settings, const LiveData& live, VeLearnHooks hooks);

  // Start learn after the file choosers: source BIN and the new BIN's full path.
  // False when learning did not start (the reason went to the message hook).
  // The first write of a run starts from a fresh copy of the source, so an
  // earlier file of the new name leaves nothing behind.
  bool Start(const std::string& sourcePath, const std::string& newPath, std::int32_t secondsTick);
  // Stop learn: writes the new BIN. False when the write failed; learning
  // then goes on, so Stop can be tried again and the exit still saves.
  bool Stop();
  // At exit: no reload. False when the write failed.
  bool SaveAtExit();
  // Called by the frame processing loop when its auto-update is due (the loop
  // keeps the one schedule); acts only while learning.
  void AutoSave();

  void OnFrame(const std::uint8_t* data, bool draw) override;  // Accumulate
  // Only while learning: after Stop the learned table is the smoothed one written.
  void Recompute();
  void Reset();
  // Told every frame's verdict while learning (a report); null for none.
  // Set before frames arrive; called on the frame processing thread.
  void SetObserver(LearnObserver* observer) { observer_ = observer; }

  bool Active() const { return active_.load(std::memory_order_acquire); }

  // What the VE learn window shows. Lock TablesLock() while reading the tables.
  std::unique_lock<std::mutex> TablesLock() { return std::unique_lock(mutex_); }
  const VeTable& Original() const { return original_; }
  const VeTable& Learned() const { return learned_; }
  const VeTable& Correction() const { return correction_; }
  bool TableRead() const { return tableRead_; }
  bool LearnedThisFrame() const { return learnedThisFrame_; }
  bool WbBlmWarning() const { return wbBlmWarning_; }
  const std::string& OverflowTitle() const { return overflowTitle_; }
  const std::string& OverflowRpm() const { return overflowRpm_; }
  const std::string& OverflowMap() const { return overflowMap_; }
  int DisplayMap() const { return displayMap_; }
  int MapBinNow() const { return mapBinNow_; }
  int RpmBinNow() const { return rpmBinNow_; }
  std::uint32_t FrameCount() const { return frameCount_; }
  std::uint32_t SampleCount() const { return sampleCount_; }
  unsigned Generation() const { return generation_; }
  // The smoother's error code of the last write; kSmootherNotRun when it did not run.
  static constexpr int kSmootherNotRun = -100;
  int LastSmootherError() const { return lastSmootherError_; }

 private:
  // The frame's verdict; sample receives the sample taken.
  LearnGate Accumulate(const std::uint8_t* data, int map, int tps, std::uint32_t* sample);
  LearnGate SteadinessGates(const std::uint8_t* data, int map, int tps);
  LearnGate TakeSample(const std::uint8_t* data, std::uint32_t* sample);
  void RecomputeLocked();
  void ResetLocked();
  bool WriteNewBin(bool showMessages);
  void Message(const std::string& text, const std::string& caption) const;

  Settings& settings_;
  const LiveData& live_;
  VeLearnHooks hooks_;

  std::mutex mutex_;  // the tables and the grid: display thread and user-interface thread
  std::atomic<bool> active_{false};
  VeTable original_, learned_, correction_;
  std::unique_ptr<LearnGrid> grid_;
  bool tableRead_ = false;
  unsigned generation_ = 0;
  std::string sourcePath_, newPath_;
  bool freshCopy_ = false;  // the next write starts from a copy of the source
  int holdOff_ = 0;
  int previousMap_ = 0, previousTps_ = 0;
  bool learnedThisFrame_ = false;
  bool wbBlmWarning_ = false;
  std::string overflowTitle_, overflowRpm_, overflowMap_;
  std::uint32_t frameCount_ = 0, sampleCount_ = 0;
  int redrawCount_ = 0, recomputeCount_ = 0;
  int displayMap_ = 0, mapBinNow_ = 0, rpmBinNow_ = 0;
  int lastSmootherError_ = kSmootherNotRun;
  LearnObserver* observer_ = nullptr;
};

}  // namespace vantor
