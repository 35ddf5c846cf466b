#include "ui/draw/trip_computer.h"

#include <algorithm>
#include <cmath>

#include "live/live_frame.h"
#include "settings/settings.h"

namespace vantor::ui {
namespace {

constexpr double kKmPerMile = 1.609344;
constexpr double kLitresPerGallon = 3.785;
constexpr double kInstantCap = 99.9;
constexpr double kAverageTenthsCap = 999.0;  // three digit places: 99.9
constexpr double kLargestCount = 2e9;        // keeps a wild total inside a long

// Truncated toward zero inside 0..limit; NaN gives 0.
long Whole(double value, double limit = kLargestCount) {
  if (!(value > 0.0)) return 0;
  return static_cast<long>(std::min(value, limit));
}

double Gallons(double fuelCounts, int flowConstant) {
  return fuelCounts * kFuelCountFactor * flowConstant / 14400.0;
}

}  // namespace

unsigned CounterIncrease(unsigned from, unsigned to) { return to >= from ? to - from : 256 - from + to; }

int PulsesPerMileOf(const std::uint8_t* frame, int previous) {
  const unsigned constant = frame::Word(frame, frame::kVssConstant);
  if (constant == 0) return previous;
  return static_cast<int>(920920.0 / constant + 0.5);
}

int FlowConstantOf(const std::uint8_t* frame) {
  double flow = 2.0 * frame::Word(frame, frame::kInjectorFlow) / 188.798976;
  const std::uint8_t config = frame[frame::kEngineConfig];
  if (config & 0x10) flow *= (config & 0x0F) / 2;
  return static_cast<int>(flow);
}

TripResults ComputeTripResults(unsigned windowVss, unsigned windowFuel, const TripTotals& totals, bool metric,
                               int previousAverage) {
  TripResults r;
  const bool knowsMiles = totals.pulsesPerMile > 0;
  const double windowGallons = Gallons(windowFuel, totals.flowConstant);
  double instant = kInstantCap;
  if (windowGallons > 0.0) {
    const double windowMiles = knowsMiles ? static_cast<double>(windowVss) / totals.pulsesPerMile : 0.0;
    instant = std::min(windowMiles / windowGallons + 0.5, kInstantCap);
  }
  r.instant = static_cast<int>(Whole(instant));
  if (metric) r.instant = static_cast<int>(Whole(r.instant * kKmPerMile / kLitresPerGallon));

  const double miles = knowsMiles ? totals.vss / totals.pulsesPerMile : 0.0;
  const double gallons = totals.fuel > 0.0 ? Gallons(totals.fuel, totals.flowConstant) : 0.0;
  r.averageTenths = previousAverage;
  if (gallons > 0.0) {
    r.averageTenths = static_cast<int>(Whole(miles / gallons * 10.0 + 0.5, kAverageTenthsCap));
    if (metric) r.averageTenths = static_cast<int>(Whole(r.averageTenths * kKmPerMile / kLitresPerGallon));
  }
  r.distanceTenths = Whole(miles * 10.0 + 0.5);
  if (metric) r.distanceTenths = Whole(r.distanceTenths * kKmPerMile);
  r.fuelHundredths = Whole(gallons * 100.0 + 0.5);
  if (metric) r.fuelHundredths = Whole(r.fuelHundredths * kLitresPerGallon);
  return r;
}

TripComputer::TripComputer(const Settings& settings)
    : totalVss_(std::max(settings.totalVss, 0.0)),
      totalFuel_(std::max(settings.totalPw, 0.0)),
      pulsesPerMile_(std::max(settings.bfrVssPpm, 0)),
      flowConstant_(std::max(settings.bfrFlwCnst, 0)) {}

TripPhase TripComputer::AddFrame(const std::uint8_t* frame, int rpm, bool engineRunning) {
  if (++frameCounter_ <= kTripIgnoredFrames) return TripPhase::Ignored;
  frameCounter_ = std::min(frameCounter_, kTripWarmUpFrames);
  TripSample sample;
  sample.vss = frame[frame::kVssCounter];
  sample.fuel = frame[frame::kFuelCounter];
  sample.rpm = static_cast<std::uint32_t>(std::max(rpm, 0));
  sample.tripValue = frame[frame::kTripValue] + (frame[frame::kTripValue + 1] > 127 ? 1 : 0);
  std::move(history_.begin() + 1, history_.end(), history_.begin());
  history_.back() = sample;
  pulsesPerMile_.store(PulsesPerMileOf(frame, pulsesPerMile_.load()));
  flowConstant_.store(FlowConstantOf(frame));
  powerEnrichment_ = (frame[frame::kFlags13] & 0x80) != 0;
  leanCruise_ = !powerEnrichment_ && (frame[frame::kFlags3] & 0x04) != 0;
  if (frameCounter_ < kTripWarmUpFrames) return TripPhase::WarmingUp;
  warmedUp_ = true;
  cleared_ = false;
  if (engineRunning) Accumulate();
  return TripPhase::Ready;
}

void TripComputer::Accumulate() {
  const TripSample& previous = history_[kTripSamples - 2];
  const TripSample& latest = history_[kTripSamples - 1];
  totalVss_.store(totalVss_.load() + CounterIncrease(previous.vss, latest.vss));
  totalFuel_.store(totalFuel_.load() + CounterIncrease(previous.fuel, latest.fuel));
}

void TripComputer::ResetSampling() {
  frameCounter_ = 0;
  warmedUp_ = false;
}

void TripComputer::Clear() {
  totalVss_.store(0.0);
  totalFuel_.store(0.0);
  pulsesPerMile_.store(0);
  flowConstant_.store(0);
  history_.fill(TripSample{});
  powerEnrichment_ = leanCruise_ = false;
  average_ = 0;
  cleared_ = true;
  ResetSampling();
}

TripResults TripComputer::Compute(bool metric, int rpm) {
  if (cleared_) return TripResults{};
  unsigned vss = 0, fuel = 0;
  for (int i = 1; i < kTripSamples; ++i) {
    vss += CounterIncrease(history_[i - 1].vss, history_[i].vss);
    fuel += CounterIncrease(history_[i - 1].fuel, history_[i].fuel);
  }
  TripResults results = ComputeTripResults(vss, fuel, Totals(), metric, average_);
  average_ = results.averageTenths;
  results.rpm = std::max(rpm, 0);
  return results;
}

TripTotals TripComputer::Totals() const {
  return TripTotals{totalVss_.load(), totalFuel_.load(), pulsesPerMile_.load(), flowConstant_.load()};
}

void TripComputer::StoreTotals(Settings& settings) const {
  const TripTotals totals = Totals();
  settings.totalVss = totals.vss;
  settings.totalPw = totals.fuel;
  settings.bfrVssPpm = totals.pulsesPerMile;
  settings.bfrFlwCnst = totals.flowConstant;
}

}  // namespace vantor::ui
