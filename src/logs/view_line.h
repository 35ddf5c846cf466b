#pragma once
// One line of the Analysis view file: 109 bytes per valid frame, CR LF
// included, so any line is reachable by one seek.

#include <cstdint>
#include <string>

#include "logs/code_text_cache.h"
#include "logs/row_text.h"
#include "settings/settings.h"

namespace vantor {

constexpr int kViewLineSize = 109;

// Line kinds (offset 0).
constexpr char kKindPlain = '0';
constexpr char kKindMark = '1';
constexpr char kKindStamp = '2';
constexpr char kKindSelected = '9';

// Field offsets the table and the quarter-mile computation read back.
namespace view_field {
constexpr int kKind = 0;
constexpr int kPulseCounter = 1;    // 3 characters
constexpr int kPulsesPerMile = 5;   // 6 characters
constexpr int kShownText = 11;      // the table shows 96 characters from here
constexpr int kShownWidth = 96;
constexpr int kRunTime = 12;        // "h:mm:ss"
constexpr int kRunTimeWidth = 7;
constexpr int kSecondsDigit = 18;
constexpr int kRpm = 20;            // 4 characters
constexpr int kSpeed = 25;          // 3 characters
constexpr int kTps = 33;            // 3 characters
constexpr int kO2 = 45;             // 4 characters
constexpr int kWideband = 96;       // 4 characters
}  // namespace view_field

char ViewLineKind(bool markMet, bool stampMet);

class ViewLineFormatter {
 public:
  explicit ViewLineFormatter(const Settings& settings);
  // Writes exactly kViewLineSize bytes into line.
  void Format(const std::uint8_t* data, char kind, double wbAfr, char* line);

 private:
  const Settings& settings_;
  CodeTextCache speed_;
  CodeTextCache map_;      // sensor index * 256 + code
  CodeTextCache percent_;
  CodeTextCache temperature_;
  CodeTextCache o2_;
  CodeTextCache spark_;
  CodeTextCache pulseWidth_;
  CodeTextCache aePulseWidth_;
  RowText row_;
};

// The two column headings above the table.
std::string ViewHeadingTop();
std::string ViewHeadingUnits(const Settings& settings);

}  // namespace vantor
