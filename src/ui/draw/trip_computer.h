#pragma once
// The trip computer's arithmetic: a history of the last 68 frames' free-running
// VSS pulse and fuel counters, the totals since the last clear ([TOTALVSS],
// [TOTALPW]) and the ECM's pulses per mile and injector flow constant
// ([BFRVSSPPM], [BFRFLWCNST]), and the economy, distance and fuel results.
// Threads: the display thread feeds frames; the totals are atomics so the
// configuration writer may copy them from any thread.

#include <array>
#include <atomic>
#include <cstdint>

namespace vantor {
struct Settings;
}

namespace vantor::ui {

constexpr int kTripSamples = 68;
constexpr int kTripIgnoredFrames = 5;   // after a reset
constexpr int kTripWarmUpFrames = 75;   // after a reset, before anything is accumulated
constexpr double kFuelCountFactor = 0.00390630961;

struct TripSample {
  std::uint32_t vss = 0;
  std::uint32_t fuel = 0;
  std::uint32_t rpm = 0;
  std::uint32_t tripValue = 0;  // byte 106, plus one when byte 107 is above 127
};

// Increase of an 8-bit counter that wraps from 255 to 0.
unsigned CounterIncrease(unsigned from, unsigned to);
// Pulses per mile from frame bytes 127-128; previous when they are both 0.
int PulsesPerMileOf(const std::uint8_t* frame, int previous);
// The injector flow constant from bytes 244-245 and the per-cylinder flag of byte 204.
int FlowConstantOf(const std::uint8_t* frame);

struct TripTotals {
  double vss = 0.0;
  double fuel = 0.0;
  int pulsesPerMile = 0;
  int flowConstant = 0;
};

struct TripResults {
  int instant = 0;         // miles per gallon, or km per litre
  int averageTenths = 0;   // of the same unit
  long distanceTenths = 0; // of miles or km
  long fuelHundredths = 0; // of gallons or litres
  long rpm = 0;
};

// windowVss and windowFuel: the increases over the history. previousAverage
// is kept when no fuel has been counted (or no flow constant is known).
TripResults ComputeTripResults(unsigned windowVss, unsigned windowFuel, const TripTotals& totals, bool metric,
                               int previousAverage);

enum class TripPhase { Ignored, WarmingUp, Ready };

class TripComputer {
 public:
  // The totals and constants start from the configuration.
  explicit TripComputer(const Settings& settings);

  // Samples a frame; Ready when it was accumulated (past the warm-up).
  TripPhase AddFrame(const std::uint8_t* frame, int rpm, bool engineRunning);
  // The history and the totals are kept.
  void ResetSampling();
  // Totals, history, results and constants to 0; sampling restarts.
  void Clear();

  // Every result is 0 from a Clear until the warm-up after it has ended.
  TripResults Compute(bool metric, int rpm);
  bool Cleared() const { return cleared_; }
  TripTotals Totals() const;
  void StoreTotals(Settings& settings) const;
  bool PowerEnrichment() const { return powerEnrichment_; }
  bool LeanCruise() const { return leanCruise_; }
  bool WarmedUp() const { return warmedUp_; }

 private:
  void Accumulate();

  std::array<TripSample, kTripSamples> history_{};  // oldest first
  int frameCounter_ = 0;
  bool warmedUp_ = false;
  bool cleared_ = false;
  bool powerEnrichment_ = false;
  bool leanCruise_ = false;
  int average_ = 0;
  std::atomic<double> totalVss_{0.0};
  std::atomic<double> totalFuel_{0.0};
  std::atomic<int> pulsesPerMile_{0};
  std::atomic<int> flowConstant_{0};
};

}  // namespace vantor::ui
